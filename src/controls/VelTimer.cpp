#include "VelTimer.h"

#include "VelClass.h"
#include "VelErrors.h"
#include "VelExceptionDisplay.h"

namespace {

constexpr std::uint16_t kSharedStep = 50;

} // namespace

TVelTimer::TVelTimer(std::uint16_t Interval, bool Shared, bool Enabled, TNotifyEvent OnTimerEvent, QObject* Parent)
    : QObject(Parent), OnTimer(std::move(OnTimerEvent)), shared_(Shared), enabled_(Enabled), interval_(Interval)
{
    SetUp();
}

TVelTimer::~TVelTimer()
{
    Release();
}

std::uint16_t TVelTimer::RaisedInterval(std::uint16_t Interval)
{
    if (Interval % kSharedStep == 0)
        return Interval;
    return static_cast<std::uint16_t>((Interval / kSharedStep + 1) * kSharedStep);
}

void TVelTimer::SetUp()
{
    Release();
    if (!shared_) {
        timer_ = VelNewTimer([this] { Timer(); });
        ApplyPrivate();
        return;
    }
    interval_ = RaisedInterval(interval_);
    TVelApplication* app = VelApplication();
    identifier_ = app->RegisterTimer(interval_, [this](QObject*) { Timer(); });
    if (identifier_ == 0)
        throw EVelOutOfResources(QStringLiteral("Not enough timers available"));
    if (TVelTimerItem* item = app->FindTimer(identifier_))
        item->SetEnabled(enabled_);
}

void TVelTimer::Release()
{
    if (identifier_ != 0) {
        // The application object goes at program end; a timer freed after it has nothing left
        // to unregister.
        if (TVelApplication* app = VelApplicationIfExists()) {
            if (TVelTimerItem* item = app->FindTimer(identifier_)) {
                item->SetEnabled(false);
                item->Callback = nullptr;
            }
            app->UnregisterTimer(identifier_);
        }
        identifier_ = 0;
    }
    if (timer_) {
        timer_->Stop();
        timer_.reset();
    }
}

void TVelTimer::ApplyPrivate()
{
    if (enabled_ && interval_ != 0)
        timer_->Start(interval_);
    else
        timer_->Stop();
}

void TVelTimer::SetEnabled(bool Value)
{
    if (Value == enabled_)
        return;
    enabled_ = Value;
    if (timer_) {
        ApplyPrivate();
    } else if (identifier_ != 0) {
        if (TVelApplication* app = VelApplicationIfExists())
            if (TVelTimerItem* item = app->FindTimer(identifier_))
                item->SetEnabled(Value);
    }
}

void TVelTimer::SetInterval(std::uint16_t Value)
{
    if (Value == interval_)
        return;
    interval_ = Value;
    if (timer_) {
        ApplyPrivate();
    } else if (identifier_ != 0) {
        if (TVelApplication* app = VelApplicationIfExists())
            if (TVelTimerItem* item = app->FindTimer(identifier_))
                item->SetInterval(Value);
    }
}

void TVelTimer::Timer()
{
    if (!OnTimer)
        return;
    // A copy, because the handler may free this timer and with it OnTimer itself.
    const TNotifyEvent handler = OnTimer;
    if (timer_) {
        // A private timer is called straight from Qt's event loop (or a test's clock), which
        // nothing may unwind through; a shared one is guarded by its pool.
        VelRunGuarded(this, [this, &handler] { handler(this); });
    } else {
        handler(this);
    }
}
