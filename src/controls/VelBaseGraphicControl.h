#pragma once

#include <cstdint>
#include <functional>

#include "VelBaseControl.h"
#include "VelClass.h"

// Bounds-changed flags.
enum : unsigned { bcSize = 1, bcPosition = 2 };

// A windowless control with the library's shared settings: transparency, an update counter, the
// theme mode and a bounds-changed event.
class TVelBaseGraphicControl : public TVelBaseControl {
    Q_OBJECT

public:
    explicit TVelBaseGraphicControl(QObject* Owner = nullptr);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);

    void LockUpdates() { ++updateCount_; }
    void UnlockUpdates(bool Notify);
    bool UpdatesLocked() const { return updateCount_ != 0; }

    TVelThemeMode ThemeMode() const { return themeMode_; }
    void SetThemeMode(TVelThemeMode Value);
    bool ThemeGlobalMode() const { return themeGlobalMode_; }
    void SetThemeGlobalMode(bool Value);
    TVelThemeMode EffectiveThemeMode() const;
    bool IsThemed() const { return EffectiveThemeMode() != ttmNone; }

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int Value);

    // The handler owned setting objects get as their OnChange.
    virtual void SubObjectChanged(QObject* Sender);

    std::function<void(QObject* Sender, unsigned Flags)> OnBoundsChanged;

protected:
    void WndProc(TMessage& Message) override;
    virtual void ThemeModeChanged();
    virtual void BoundsChanged(unsigned Flags);
    virtual void ImageListChanged();
    // Invalidates when transparent (the parent's picture must show through), else paints now.
    void Redraw();

private:
    bool transparent_ = true;
    std::uint16_t updateCount_ = 0;
    TVelThemeMode themeMode_ = ttmNone;
    bool themeGlobalMode_ = false;
    int imageIndex_ = 0;
    int listIndex_ = 0;
};
