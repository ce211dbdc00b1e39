#include "VelCustomControl.h"

#include <QPainter>

#include "VelDevicePixels.h"
#include "VelEdge.h"
#include "VelMessageEvent.h"
#include "VelSysColors.h"
#include "VelThemes.h"

TVelCustomControl::TVelCustomControl(QWidget* parent) : TVelBaseCustomControl(parent)
{
    // Setting the defaults must not paint anything yet.
    LockUpdates();
    resize(100, 40);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    UpdateOpacity();
    UnlockUpdates(false);
}

void TVelCustomControl::SetColor(TColor Value)
{
    if (color_ == Value)
        return;
    color_ = Value;
    if (!UpdatesLocked())
        update();
}

QColor TVelCustomControl::EffectiveColor() const
{
    return VelColorToQColor(color_, palette());
}

void TVelCustomControl::SetTransparent(bool Value)
{
    if (transparent_ == Value)
        return;
    transparent_ = Value;
    if (UpdateOpacity())
        Perform(CM_OPACITYCHANGED);
}

void TVelCustomControl::SetParentBackground(bool Value)
{
    if (parentBackground_ == Value)
        return;
    parentBackground_ = Value;
    if (UpdateOpacity() && !UpdatesLocked())
        Perform(CM_OPACITYCHANGED);
}

bool TVelCustomControl::UpdateOpacity()
{
    const bool opaque = !transparent_ && !(IsThemed() && parentBackground_);
    if (opaque == opaque_)
        return false;
    opaque_ = opaque;
    // An opaque control paints every pixel itself; otherwise Qt composes the parent beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent, opaque_);
    return true;
}

void TVelCustomControl::SetCtl3D(bool Value)
{
    if (ctl3D_ == Value)
        return;
    ctl3D_ = Value;
    Perform(CM_CTL3DCHANGED);
    update();
}

void TVelCustomControl::SetFlat(bool Value)
{
    if (flat_ == Value)
        return;
    flat_ = Value;
    FlatChanged();
    update();
}

void TVelCustomControl::SetThemeMode(TVelThemeMode Value)
{
    if (themeMode_ == Value)
        return;
    themeMode_ = Value;
    if (!themeGlobalMode_)
        ThemeModeChanged();
}

void TVelCustomControl::SetThemeGlobalMode(bool Value)
{
    if (themeGlobalMode_ == Value)
        return;
    themeGlobalMode_ = Value;
    ThemeModeChanged();
}

TVelThemeMode TVelCustomControl::EffectiveThemeMode() const
{
    return VelThemeServices()->ResolveThemeMode(themeGlobalMode_ ? VelApplication()->GlobalThemeMode() : themeMode_);
}

void TVelCustomControl::SetCtlXP(bool Value)
{
    // Applied only when it disagrees with the platform flag the control has now.
    if (Value != (themeMode_ == ttmPlatform))
        SetThemeMode(Value ? ttmPlatform : ttmNone);
}

void TVelCustomControl::SetImageIndex(int Value)
{
    if (Value < 0 || Value == imageIndex_)
        return;
    imageIndex_ = Value;
}

void TVelCustomControl::SetListIndex(int Value)
{
    if (Value < 0 || Value == listIndex_)
        return;
    listIndex_ = Value;
}

void TVelCustomControl::ThemeModeChanged()
{
    UpdateOpacity();
    update();
    for (QObject* child : children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            VelSendMessage(w, CM_THEMEMODECHANGED);
}

void TVelCustomControl::FlatChanged() {}

void TVelCustomControl::ImageListChanged()
{
    SubObjectChanged(nullptr);
}

void TVelCustomControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        TVelBaseCustomControl::WndProc(Message);
        entered_ = true;
        if (flat_)
            update();
        PostMessage(CM_AFTERENTER);
        break;
    case WM_KILLFOCUS:
        entered_ = false;
        if (flat_)
            update();
        TVelBaseCustomControl::WndProc(Message);
        PostMessage(CM_AFTEREXIT);
        break;
    case CM_AFTERENTER:
        if (OnAfterEnter)
            OnAfterEnter(this);
        break;
    case CM_AFTEREXIT:
        if (OnAfterExit)
            OnAfterExit(this);
        break;
    case WM_SIZE:
    case CM_ENABLEDCHANGED: update(); break;
    case CM_SYSCOLORCHANGE:
        if (!transparent_)
            update();
        break;
    case WM_THEMECHANGED:
    case CM_THEMEMODECHANGED: ThemeModeChanged(); break;
    case CM_OPACITYCHANGED:
        if (isVisible())
            RecreateWnd();
        break;
    default: TVelBaseCustomControl::WndProc(Message); break;
    }
}

void TVelCustomControl::MouseEntered()
{
    TVelBaseCustomControl::MouseEntered();
    mouseAbove_ = true;
    if (flat_)
        update();
}

void TVelCustomControl::MouseLeft()
{
    mouseAbove_ = false;
    if (flat_)
        update();
    TVelBaseCustomControl::MouseLeft();
}

void TVelCustomControl::Paint(QPainter& Canvas)
{
    if (IsLoading())
        return;
    PaintBackground(Canvas);
}

void TVelCustomControl::PaintBackground(QPainter& Canvas)
{
    // Transparent: Qt has composed the parent beneath, which is the background.
    if (transparent_ || (IsThemed() && parentBackground_))
        return;
    Canvas.fillRect(ClientRect(), EffectiveColor());
}

void TVelCustomControl::PaintFrameStep(QPainter& Canvas)
{
    if (!flat_ || IsLoading())
        return;
    if (FlatFrameShown())
        DrawFlatFrame(Canvas);
    else
        DrawFullFrame(Canvas);
}

void TVelCustomControl::DrawFullFrame(QPainter& Canvas)
{
    if (DrawThemedFrame(EffectiveThemeMode(), Canvas, ClientRect()))
        return;
    const QPalette& p = palette();
    const QRect r = rect();
    const TVelDeviceFrame frame(Canvas, r);
    if (ctl3D_) {
        VelFrameRect(Canvas, frame, r.adjusted(1, 1, 0, 0), VelColorToQColor(clWindowFrame, p));
        VelFrameRect(Canvas, frame, r.adjusted(0, 0, -1, -1), VelColorToQColor(clBtnFace, p));
        QRect edge = r;
        VelDrawEdge(Canvas, frame, edge, BDR_SUNKENOUTER, BF_RECT, p);
    } else {
        VelFrameRect(Canvas, frame, r, VelColorToQColor(clWindowFrame, p));
    }
}

void TVelCustomControl::DrawFlatFrame(QPainter& Canvas)
{
    if (DrawThemedFrame(EffectiveThemeMode(), Canvas, ClientRect()))
        return;
    const QColor face = VelColorToQColor(clBtnFace, palette());
    const TVelDeviceFrame frame(Canvas, rect());
    VelFrameRect(Canvas, frame, rect(), face);
    if (ctl3D_)
        VelFrameRect(Canvas, frame, rect().adjusted(1, 1, -1, -1), face);
}

bool TVelCustomControl::DrawThemedFrame(TVelThemeMode Mode, QPainter& Canvas, const QRect& Rect)
{
    TVelThemedEditState state = tesNormal;
    if (!isEnabled())
        state = tesDisabled;
    else if (ReadOnlyLook())
        state = tesReadOnly;
    else if (mouseAbove_)
        state = tesHot;
    else if (hasFocus())
        state = tesFocused;
    return VelThemeServices()->DrawEdit(Mode, Canvas, state, Rect);
}
