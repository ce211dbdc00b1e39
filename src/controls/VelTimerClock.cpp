#include "VelTimerClock.h"

#include <QTimer>

#include "VelClass.h"

namespace {

class TQtRepeatClock : public TVelRepeatClock {
public:
    explicit TQtRepeatClock(std::function<void()> Tick)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(Tick));
    }
    void Start(int IntervalMs) override { timer_.start(IntervalMs); }
    void SetInterval(int IntervalMs) override { timer_.setInterval(IntervalMs); }
    void Stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

std::unique_ptr<TVelRepeatClock> VelNewTimer(std::function<void()> Tick)
{
    // Without the application object nobody installed a clock; asking must not create it.
    if (TVelApplication* app = VelApplicationIfExists())
        if (TVelTimerClock* clock = app->TimerClock())
            return clock->NewTimer(std::move(Tick));
    return std::make_unique<TQtRepeatClock>(std::move(Tick));
}
