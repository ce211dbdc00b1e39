#pragma once

#include "VelClass.h"
#include "VelControl.h"

// Adds what every windowed library control tracks: whether the pointer is over it, whether it
// holds the focus, the events that run once a focus change has settled, its colour, opaque or
// transparent painting, the flat look and the requested theme mode.
class TVelCustomControl : public TVelBaseCustomControl {
    Q_OBJECT

public:
    explicit TVelCustomControl(QWidget* parent = nullptr);

    bool MouseAbove() const { return mouseAbove_; }
    bool Entered() const { return entered_; }
    bool Focused() const { return hasFocus(); }

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    // The colour as drawn now, system colours resolved through the control's palette.
    QColor EffectiveColor() const;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool Value);
    bool Opaque() const { return opaque_; }

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);

    bool Flat() const { return flat_; }
    void SetFlat(bool Value);

    TVelThemeMode ThemeMode() const { return themeMode_; }
    void SetThemeMode(TVelThemeMode Value);
    bool ThemeGlobalMode() const { return themeGlobalMode_; }
    void SetThemeGlobalMode(bool Value);
    TVelThemeMode EffectiveThemeMode() const;
    bool IsThemed() const { return EffectiveThemeMode() != ttmNone; }
    // Old form resources store "CtlXP": false means ttmNone, true ttmPlatform.
    void SetCtlXP(bool Value);

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int Value);

    TNotifyEvent OnAfterEnter, OnAfterExit;

protected:
    void WndProc(TMessage& Message) override;
    void MouseEntered() override;
    void MouseLeft() override;
    void Paint(QPainter& Canvas) override;
    virtual void PaintBackground(QPainter& Canvas);

    virtual void ThemeModeChanged();
    virtual void FlatChanged();
    virtual void ImageListChanged();
    // No background provider exists in this program; the hook stays for transparent children.
    virtual bool UsesBackgroundProvider() const { return false; }
    virtual bool ReadOnlyLook() const { return false; }
    // Recomputes the opaque flag; true when it changed.
    bool UpdateOpacity();

    // The flat look: the full frame while focused, entered or under the mouse, the flat frame
    // otherwise. Nothing when not Flat.
    void PaintFrameStep(QPainter& Canvas) override;
    virtual void DrawFullFrame(QPainter& Canvas);
    virtual void DrawFlatFrame(QPainter& Canvas);
    // The theme's edit element over Rect in the control's state; false when not themed.
    bool DrawThemedFrame(TVelThemeMode Mode, QPainter& Canvas, const QRect& Rect);
    bool FlatFrameShown() const { return flat_ && !hasFocus() && !mouseAbove_ && !entered_; }

    void SetMouseAbove(bool Value) { mouseAbove_ = Value; }

private:
    bool mouseAbove_ = false;
    bool entered_ = false;
    TColor color_ = clBtnFace;
    bool transparent_ = false;
    bool parentBackground_ = true;
    bool opaque_ = false;
    bool ctl3D_ = true;
    bool flat_ = false;
    TVelThemeMode themeMode_ = ttmPlatform;
    bool themeGlobalMode_ = false;
    int imageIndex_ = 0;
    int listIndex_ = 0;
};
