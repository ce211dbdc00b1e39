#include "VelSpinButton.h"

#include <QPainter>

#include "VelControl.h"
#include "VelTimer.h"

// The repeat clock on a private library timer, created at the first press and freed at the
// release, as the repeat needs no timer while the button is idle.
class TVelSpinButton::TTimerClock : public TVelRepeatClock {
public:
    explicit TTimerClock(TVelSpinButton& Button) : button_(Button) {}

    void Start(int IntervalMs) override
    {
        if (!timer_)
            timer_ =
                std::make_unique<TVelTimer>(Clamp(IntervalMs), false, true, [this](QObject*) { button_.RepeatTick(); });
        timer_->SetInterval(Clamp(IntervalMs));
        timer_->SetEnabled(true);
    }
    void SetInterval(int IntervalMs) override
    {
        if (timer_)
            timer_->SetInterval(Clamp(IntervalMs));
    }
    // May run inside the timer's own tick; the timer allows being freed there.
    void Stop() override { timer_.reset(); }

private:
    static std::uint16_t Clamp(int Ms) { return std::uint16_t(std::clamp(Ms, 1, 65535)); }

    TVelSpinButton& button_;
    std::unique_ptr<TVelTimer> timer_;
};

TVelSpinButton::TVelSpinButton(QObject* Owner)
    : TVelGraphicControl(Owner), clock_(std::make_unique<TTimerClock>(*this)), tracker_(*clock_)
{
    SetThemeMode(ttmPlatform);
    SetBounds(0, 0, 20, 20);
    tracker_.OnClick = [this](TVelSpinHalf Half) { Click(Half); };
}

TVelSpinButton::~TVelSpinButton() = default;

void TVelSpinButton::SetHalves(TVelSpinHalves Value)
{
    if (Value == painter_.Halves)
        return;
    painter_.Halves = Value;
    tracker_.SetHalves(Value);
    Invalidate();
}

void TVelSpinButton::SetDrawingStyle(quint8 Value)
{
    if (Value == painter_.DrawingStyle)
        return;
    painter_.DrawingStyle = Value;
    Invalidate();
}

void TVelSpinButton::SetDiagonal(bool Value)
{
    if (Value == painter_.Diagonal)
        return;
    painter_.Diagonal = Value;
    if (!IsLoading())
        Invalidate();
}

void TVelSpinButton::SetColor(TColor Value)
{
    if (Value == painter_.Color)
        return;
    painter_.Color = Value;
    Invalidate();
}

void TVelSpinButton::SyncPainter() const
{
    painter_.Themed = IsThemed();
    painter_.SetBounds(BoundsRect());
}

bool TVelSpinButton::DiagonalMode() const
{
    SyncPainter();
    return painter_.DiagonalMode();
}

std::optional<TVelSpinHalf> TVelSpinButton::HalfAt(QPoint Pos) const
{
    SyncPainter();
    return painter_.HalfAt(Pos + BoundsRect().topLeft());
}

void TVelSpinButton::PointerReset()
{
    if (tracker_.PointerReset())
        Invalidate();
}

void TVelSpinButton::Paint(QPainter& Canvas)
{
    if (!Parent() || !Parent()->isVisible())
        return;
    SyncPainter();
    // The painter works in the parent's coordinates; the canvas arrives at the control's corner.
    const QPoint corner = BoundsRect().topLeft();
    Canvas.translate(-corner);
    painter_.Paint(Canvas, tracker_.States());
    Canvas.translate(corner);
}

void TVelSpinButton::WndProc(TMessage& Message)
{
    if (Message.Msg != CM_ENABLEDCHANGED) {
        TVelGraphicControl::WndProc(Message);
        return;
    }
    if (tracker_.EnabledChanged(int(Message.WParam), int(Message.LParam), Enabled()))
        Invalidate();
}

void TVelSpinButton::MouseDown(Qt::MouseButton Button, unsigned /*Keys*/, QPoint Pos)
{
    tracker_.SetControlEnabled(Enabled());
    if (tracker_.MouseDown(Button == Qt::LeftButton, HalfAt(Pos)))
        Invalidate();
}

void TVelSpinButton::DblClick(unsigned Keys, QPoint Pos)
{
    // A quick second click is one more step, not a gesture of its own.
    MouseDown(Qt::LeftButton, Keys, Pos);
}

void TVelSpinButton::MouseMove(unsigned Keys, QPoint Pos)
{
    tracker_.SetControlEnabled(Enabled());
    if (tracker_.MouseMove(HalfAt(Pos), Keys & MK_LBUTTON))
        Invalidate();
}

void TVelSpinButton::MouseUp(Qt::MouseButton Button, unsigned /*Keys*/, QPoint Pos)
{
    const bool inside = ClientRect().contains(Pos);
    if (tracker_.MouseUp(Button == Qt::LeftButton, HalfAt(Pos), inside))
        Invalidate();
}

void TVelSpinButton::MouseLeft()
{
    TVelGraphicControl::MouseLeft();
    // While held, the pressed half follows the pointer through the captured moves instead.
    if (!MouseCapture())
        PointerReset();
}

void TVelSpinButton::Click(TVelSpinHalf Half)
{
    const TNotifyEvent* handler = nullptr;
    switch (Half) {
    case shUp: handler = &OnUpClick; break;
    case shDown: handler = &OnDownClick; break;
    case shDownHorz: handler = &OnDownHorzClick; break;
    case shUpHorz: handler = &OnUpHorzClick; break;
    }
    if (*handler)
        (*handler)(this);
}

void TVelSpinButton::RepeatTick()
{
    // The capture is gone when the parent lost the mouse without a release reaching the button
    // (another window grabbed it); the repeat must not run on by itself then.
    if (!MouseCapture())
        tracker_.CaptureLost();
    tracker_.Tick();
}
