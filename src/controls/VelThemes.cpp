#include "VelThemes.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWidget>

#include "VelMessageEvent.h"

TVelThemeServices::TVelThemeServices()
{
    // The desktop announces a new theme to the application object; listening there stands in for
    // the hidden message window.
    if (qApp)
        qApp->installEventFilter(this);
}

TVelThemeServices::~TVelThemeServices() = default;

bool TVelThemeServices::ThemesActive() const
{
    // One answer for the whole library: the application object decides, these services ask.
    return VelApplication()->ThemesActive();
}

TVelThemeMode TVelThemeServices::ResolveThemeMode(TVelThemeMode Requested) const
{
    if (Requested == ttmNative && current_ && current_->Usable())
        return ttmNative;
    if (Requested == ttmNone)
        return ttmNone;
    return ThemesActive() ? ttmPlatform : ttmNone;
}

void TVelThemeServices::RegisterRenderer(std::unique_ptr<TVelNativeRenderer> Renderer)
{
    if (!Renderer)
        return;
    current_ = Renderer.get();
    renderers_.push_back(std::move(Renderer));
}

bool TVelThemeServices::DrawPart(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details,
                                 const QRect& Rect)
{
    switch (ResolveThemeMode(Mode)) {
    case ttmNative: current_->DrawElement(Canvas, Details, Rect); return true;
    // A platform renderer would draw here; this platform has none, so ThemesActive is false and
    // ttmPlatform is never the resolved mode.
    case ttmPlatform:
    case ttmNone: break;
    }
    return false;
}

bool TVelThemeServices::DrawParentBackground(TVelThemeMode Mode, QWidget* Window, QPainter& Canvas, const QRect& Rect)
{
    if (ResolveThemeMode(Mode) == ttmNone || !Window)
        return false;
    // The parent's own background: its palette's window colour, as Qt would erase it.
    const QWidget* parent = Window->parentWidget() ? Window->parentWidget() : Window;
    Canvas.fillRect(Rect, parent->palette().color(parent->backgroundRole()));
    return true;
}

QRect TVelThemeServices::ContentRect(TVelThemeMode Mode, const TVelThemedDetails& Details, const QRect& Rect)
{
    if (ResolveThemeMode(Mode) == ttmNative)
        return current_->ContentRect(Details, Rect);
    return Rect;
}

bool TVelThemeServices::DrawButton(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::Button, Part, State}, Rect);
}

bool TVelThemeServices::DrawComboBox(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::ComboBox, Part, State}, Rect);
}

bool TVelThemeServices::DrawEdit(TVelThemeMode Mode, QPainter& Canvas, TVelThemedEditState State, const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::Edit, 0, State}, Rect);
}

bool TVelThemeServices::DrawScrollBar(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::ScrollBar, Part, State}, Rect);
}

bool TVelThemeServices::DrawSpin(TVelThemeMode Mode, QPainter& Canvas, TVelThemedSpinPart Part, int State,
                                 const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::Spin, Part, State}, Rect);
}

bool TVelThemeServices::DrawToolBar(TVelThemeMode Mode, QPainter& Canvas, int Part, int State, const QRect& Rect)
{
    return DrawPart(Mode, Canvas, {TVelThemedElement::ToolBar, Part, State}, Rect);
}

bool TVelThemeServices::DrawElement(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details,
                                    const QRect& Rect)
{
    return DrawPart(Mode, Canvas, Details, Rect);
}

bool TVelThemeServices::DrawText(TVelThemeMode Mode, QPainter& Canvas, const TVelThemedDetails& Details,
                                 const QString& Text, unsigned Flags, const QRect& Rect)
{
    if (ResolveThemeMode(Mode) != ttmNative)
        return false;
    TVelThemedDetails details = Details;
    // Toolbar buttons in their checked-hot state have no text colour of their own in some themes.
    if (toolbarToButton_ && details.Element == TVelThemedElement::ToolBar && details.Part == 1 && details.State == 4)
        details.Element = TVelThemedElement::Button;
    current_->DrawText(Canvas, details, Text, Flags, Rect);
    return true;
}

void TVelThemeServices::ThemeChanged()
{
    if (!ThemesActive())
        return;
    const QScopedValueRollback changing(systemThemeChanging_, true);
    ThemeBroadcast();
}

namespace {

void SendThemeChangedDepthFirst(QWidget* Parent)
{
    for (QObject* child : Parent->children()) {
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) {
            VelSendMessage(w, WM_THEMECHANGED);
            SendThemeChangedDepthFirst(w);
        }
    }
}

} // namespace

void TVelThemeServices::ThemeBroadcast()
{
    for (QWidget* form : QApplication::topLevelWidgets()) {
        VelSendMessage(form, CM_THEMEMODECHANGED);
        if (!form->isVisible())
            continue;
        for (QObject* child : form->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                VelSendMessage(w, CM_THEMEMODECHANGED);
        SendThemeChangedDepthFirst(form);
        VelSendMessage(form, WM_THEMECHANGED);
    }
}

bool TVelThemeServices::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == qApp && Event->type() == QEvent::ThemeChange)
        ThemeChanged();
    return false;
}

TVelThemeServices* VelThemeServices()
{
    static const std::unique_ptr<TVelThemeServices> instance = std::make_unique<TVelThemeServices>();
    return instance.get();
}
