#include "VelBaseGraphicControl.h"

#include "VelControl.h"
#include "VelThemes.h"

TVelBaseGraphicControl::TVelBaseGraphicControl(QObject* Owner) : TVelBaseControl(Owner)
{
    TVelBaseControl::SetBounds(0, 0, 30, 30);
}

void TVelBaseGraphicControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const QRect old = BoundsRect();
    TVelBaseControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    const QRect now = BoundsRect();
    unsigned flags = 0;
    if (now.topLeft() != old.topLeft())
        flags |= bcPosition;
    if (now.size() != old.size())
        flags |= bcSize;
    if (flags && !IsLoading())
        BoundsChanged(flags);
}

void TVelBaseGraphicControl::SetTransparent(bool Value)
{
    if (transparent_ == Value)
        return;
    transparent_ = Value;
    Perform(CM_OPACITYCHANGED);
}

void TVelBaseGraphicControl::UnlockUpdates(bool Notify)
{
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && Notify)
        SubObjectChanged(nullptr);
}

void TVelBaseGraphicControl::SetThemeMode(TVelThemeMode Value)
{
    if (themeMode_ == Value)
        return;
    themeMode_ = Value;
    if (!themeGlobalMode_)
        ThemeModeChanged();
}

void TVelBaseGraphicControl::SetThemeGlobalMode(bool Value)
{
    if (themeGlobalMode_ == Value)
        return;
    themeGlobalMode_ = Value;
    ThemeModeChanged();
}

TVelThemeMode TVelBaseGraphicControl::EffectiveThemeMode() const
{
    return VelThemeServices()->ResolveThemeMode(themeGlobalMode_ ? VelApplication()->GlobalThemeMode() : themeMode_);
}

void TVelBaseGraphicControl::SetImageIndex(int Value)
{
    if (Value < -1 || Value == imageIndex_)
        return;
    imageIndex_ = Value;
}

void TVelBaseGraphicControl::SetListIndex(int Value)
{
    if (Value < 0 || Value == listIndex_)
        return;
    listIndex_ = Value;
}

void TVelBaseGraphicControl::SubObjectChanged(QObject* /*Sender*/)
{
    if (updateCount_ > 0 || IsLoading())
        return;
    Redraw();
}

void TVelBaseGraphicControl::Redraw()
{
    if (UpdatesLocked() || !Parent())
        return;
    if (transparent_)
        Invalidate();
    else
        Repaint();
}

void TVelBaseGraphicControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_THEMECHANGED:
        ThemeModeChanged();
        Message.Result = 1;
        break;
    case CM_THEMEMODECHANGED: ThemeModeChanged(); break;
    case CM_OPACITYCHANGED:
        if (Visible())
            Redraw();
        break;
    default: TVelBaseControl::WndProc(Message); break;
    }
}

void TVelBaseGraphicControl::ThemeModeChanged()
{
    if (themeMode_ != ttmNone)
        Invalidate();
}

void TVelBaseGraphicControl::BoundsChanged(unsigned Flags)
{
    if (OnBoundsChanged)
        OnBoundsChanged(this, Flags);
}

void TVelBaseGraphicControl::ImageListChanged()
{
    SubObjectChanged(nullptr);
}
