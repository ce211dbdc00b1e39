#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

#include "VelClass.h"

class QPainter;
class QWidget;

// Parts of the themed elements the controls draw, and their states.
enum class TVelThemedElement { Button, ComboBox, Edit, ScrollBar, Spin, ToolBar };
enum TVelThemedEditState { tesNormal, tesHot, tesSelected, tesDisabled, tesFocused, tesReadOnly, tesAssist };
enum TVelThemedSpinPart { tspUp, tspDown, tspUpHorz, tspDownHorz };

struct TVelThemedDetails {
    TVelThemedElement Element = TVelThemedElement::Button;
    int Part = 0;
    int State = 0;
};

// A renderer of the library's own look (ttmNative). The interface mirrors the themed drawing
// operations; none is registered in this program.
class TVelNativeRenderer {
public:
    virtual ~TVelNativeRenderer() = default;
    virtual bool Usable() const = 0;
    virtual void DrawElement(QPainter& Canvas, const TVelThemedDetails& Details, const QRect& Rect) = 0;
    virtual QRect ContentRect(const TVelThemedDetails& Details, const QRect& Rect) = 0;
    virtual void DrawText(QPainter& Canvas, const TVelThemedDetails& Details, const QString& Text, unsigned Flags,
                          const QRect& Rect) = 0;
};

// The single entry point of themed drawing. Controls resolve their requested mode here and,
// when it resolves to ttmNone, draw classically themselves; every drawing operation returns
// whether it drew, so a caller falls back on false.
class TVelThemeServices : public QObject {
    Q_OBJECT

public:
    TVelThemeServices();
    ~TVelThemeServices() override;

    // Desktop themes in the classic sense do not exist on this platform: Qt's style is the whole
    // look, and the controls draw their classic look in the palette's colours.
    static bool PlatformThemesAvailable() { return false; }
    // Themes enabled for the application and available on the platform.
    bool ThemesActive() const;

    TVelThemeMode ResolveThemeMode(TVelThemeMode Requested) const;

    // Takes ownership. The current renderer answers ttmNative requests while it reports itself
    // usable; without one such requests behave as ttmPlatform.
    void RegisterRenderer(std::unique_ptr<TVelNativeRenderer> Renderer);
    TVelNativeRenderer* NativeRenderer() const { return current_; }

    bool DrawParentBackground(TVelThemeMode Mode, QWidget* Window, QPainter& Canvas, const QRect& Rect);
    // The content rectangle of a themed element; Rect itself when not themed.
    QRect ContentRect(TVelThemeMode Mode, const TVelThemedDetails& Details, const QRect& Rect);
    bool DrawButton(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect);
    bool DrawComboBox(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect);
    bool DrawEdit(TVelThemeMode Mode, QPainter& Canvas, TVelThemedEditState State, const QRect& Rect);
    bool DrawScrollBar(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect);
    bool DrawSpin(TVelThemeMode Mode, QPainter& Canvas, TVelThemedSpinPart Part, int State, const QRect& Rect);
    bool DrawToolBar(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect);
    bool DrawElement(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details, const QRect& Rect);
    bool DrawText(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details, const QString& Text,
                  unsigned Flags, const QRect& Rect);

    // The desktop's theme changed. While themes are active the change is passed to every window
    // (ThemeBroadcast); otherwise the controls re-evaluate on their own theme-change message.
    void ThemeChanged();
    bool SystemThemeChanging() const { return systemThemeChanging_; }
    // For every top-level window in creation order: CM_THEMEMODECHANGED to the window; when it
    // is visible also to its direct children, then WM_THEMECHANGED to every descendant (depth
    // first, in child order) and to the window.
    static void ThemeBroadcast();

    bool ToolbarToButton() const { return toolbarToButton_; }
    void SetToolbarToButton(bool Value) { toolbarToButton_ = Value; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool DrawPart(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details, const QRect& Rect);

    std::vector<std::unique_ptr<TVelNativeRenderer>> renderers_;
    TVelNativeRenderer* current_ = nullptr;
    bool systemThemeChanging_ = false;
    bool toolbarToButton_ = true;
};

// Created on first use, kept until the program ends.
TVelThemeServices* VelThemeServices();
