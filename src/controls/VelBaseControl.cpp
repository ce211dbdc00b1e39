#include "VelBaseControl.h"

#include <QPainter>

#include "VelControl.h"
#include "VelMessageEvent.h"

bool IsInputMessage(unsigned Msg)
{
    return (Msg >= WM_KEYDOWN && Msg <= WM_CHAR) || (Msg >= WM_MOUSEMOVE && Msg <= WM_MOUSEWHEEL) ||
           Msg == CM_MOUSEWHEEL;
}

TVelBaseControl::TVelBaseControl(QObject* Owner) : QObject(Owner), bounds_(0, 0, 0, 0) {}

TVelBaseControl::~TVelBaseControl()
{
    SetParent(nullptr);
}

TVelBaseCustomControl* TVelBaseControl::Parent() const
{
    return parent_;
}

void TVelBaseControl::SetParent(TVelBaseCustomControl* Value)
{
    if (parent_ == Value)
        return;
    if (parent_) {
        Invalidate();
        parent_->RemoveGraphicControl(this);
    }
    parent_ = Value;
    if (parent_) {
        parent_->InsertGraphicControl(this);
        Invalidate();
    }
}

void TVelBaseControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const QRect r(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
    if (r == bounds_)
        return;
    Invalidate();
    bounds_ = r;
    Invalidate();
}

void TVelBaseControl::SetVisible(bool Value)
{
    if (visible_ == Value)
        return;
    visible_ = Value;
    if (parent_)
        parent_->update(bounds_);
}

bool TVelBaseControl::Enabled() const
{
    return enabled_ && (!parent_ || parent_->isEnabled());
}

void TVelBaseControl::SetEnabled(bool Value)
{
    if (enabled_ == Value)
        return;
    enabled_ = Value;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TVelBaseControl::SetCursor(std::optional<Qt::CursorShape> Value)
{
    if (cursor_ == Value)
        return;
    cursor_ = Value;
    if (parent_ && parent_->GraphicUnderMouse() == this)
        parent_->ShowGraphicCursor(this);
}

bool TVelBaseControl::HitTest(QPoint Pos) const
{
    return ClientRect().contains(Pos);
}

bool TVelBaseControl::MouseCapture() const
{
    return parent_ && parent_->GraphicCapture() == this;
}

LRESULT TVelBaseControl::Perform(unsigned Msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{Msg, wParam, lParam, 0};
    // A disabled control takes no input, whoever sends it.
    if (IsInputMessage(Msg) && !Enabled())
        return 0;
    WndProc(message);
    return message.Result;
}

void TVelBaseControl::Invalidate()
{
    if (parent_ && visible_ && !bounds_.isEmpty())
        parent_->update(bounds_);
}

void TVelBaseControl::Repaint()
{
    if (parent_ && visible_ && !bounds_.isEmpty())
        parent_->repaint(bounds_);
}

void TVelBaseControl::Paint(QPainter& /*Canvas*/) {}

void TVelBaseControl::Loaded()
{
    loading_ = false;
}

void TVelBaseControl::WndProc(TMessage& Message)
{
    const QPoint pos = PointFromLParam(Message.LParam);
    const auto keys = static_cast<unsigned>(Message.WParam);
    switch (Message.Msg) {
    case CM_MOUSEENTER: MouseEntered(); break;
    case CM_MOUSELEAVE: MouseLeft(); break;
    case WM_LBUTTONDOWN: MouseDown(Qt::LeftButton, keys, pos); break;
    case WM_RBUTTONDOWN: MouseDown(Qt::RightButton, keys, pos); break;
    case WM_LBUTTONUP: MouseUp(Qt::LeftButton, keys, pos); break;
    case WM_RBUTTONUP: MouseUp(Qt::RightButton, keys, pos); break;
    case WM_LBUTTONDBLCLK: DblClick(keys, pos); break;
    case WM_MOUSEMOVE: MouseMove(keys, pos); break;
    default: DefaultHandler(Message); break;
    }
}

void TVelBaseControl::DefaultHandler(TMessage& Message)
{
    Message.Result = 0;
}

void TVelBaseControl::MouseEntered()
{
    if (Enabled() && OnMouseEnter)
        OnMouseEnter(this);
}

void TVelBaseControl::MouseLeft()
{
    if (Enabled() && OnMouseExit)
        OnMouseExit(this);
}

void TVelBaseControl::MouseDown(Qt::MouseButton, unsigned, QPoint) {}
void TVelBaseControl::MouseMove(unsigned, QPoint) {}
void TVelBaseControl::MouseUp(Qt::MouseButton, unsigned, QPoint) {}

void TVelBaseControl::DblClick(unsigned Keys, QPoint Pos)
{
    // A second press in quick succession is still a press for controls that do not ask for more.
    MouseDown(Qt::LeftButton, Keys, Pos);
}

bool TVelBaseControl::event(QEvent* Event)
{
    // Timers and posted messages reach a windowless control through the same carrier.
    if (Event->type() == TVelMessageEvent::EventType()) {
        auto* e = static_cast<TVelMessageEvent*>(Event);
        e->Message.Result = Perform(e->Message.Msg, e->Message.WParam, e->Message.LParam);
        return true;
    }
    return QObject::event(Event);
}
