#include "VelWindowTimers.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "VelExceptionDisplay.h"
#include "VelMessageEvent.h"

// A child of its target, so the target's destruction takes the timer along and no registry can
// hold a stale entry.
class TVelWindowTimer : public QTimer {
    Q_OBJECT
public:
    TVelWindowTimer(QObject* Target, WPARAM Id) : QTimer(Target), id_(Id)
    {
        setTimerType(Qt::PreciseTimer);
        connect(this, &QTimer::timeout, this, &TVelWindowTimer::Deliver);
    }

    WPARAM Id() const { return id_; }
    bool Delivering() const { return delivering_; }

private:
    void Deliver()
    {
        QObject* target = parent();
        const WPARAM id = id_;
        // The handler may kill this timer or free the target, and this object with it.
        const QPointer<TVelWindowTimer> self(this);
        delivering_ = true;
        VelRunGuarded(target, [target, id] { VelSendMessage(target, WM_TIMER, id, 0); });
        if (self)
            delivering_ = false;
    }

    WPARAM id_;
    bool delivering_ = false;
};

namespace {

TVelWindowTimer* FindTimer(const QObject* Target, WPARAM Id)
{
    if (!Target)
        return nullptr;
    for (QObject* child : Target->children()) {
        auto* timer = qobject_cast<TVelWindowTimer*>(child);
        if (timer && timer->Id() == Id)
            return timer;
    }
    return nullptr;
}

} // namespace

bool VelSetTimer(QObject* Target, WPARAM Id, unsigned Interval)
{
    if (!Target)
        return false;
    TVelWindowTimer* timer = FindTimer(Target, Id);
    if (!timer)
        timer = new TVelWindowTimer(Target, Id);
    const unsigned period = std::clamp<unsigned>(Interval, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    timer->start(static_cast<int>(period));
    return true;
}

bool VelKillTimer(QObject* Target, WPARAM Id)
{
    TVelWindowTimer* timer = FindTimer(Target, Id);
    if (!timer)
        return false;
    timer->stop();
    if (timer->Delivering()) {
        // Called from the very WM_TIMER this timer is delivering: it goes once that returns,
        // and it no longer counts as the target's timer from now on.
        timer->setParent(nullptr);
        timer->deleteLater();
    } else {
        delete timer;
    }
    return true;
}

bool VelTimerExists(const QObject* Target, WPARAM Id)
{
    return FindTimer(Target, Id) != nullptr;
}

unsigned VelTimerInterval(const QObject* Target, WPARAM Id)
{
    const TVelWindowTimer* timer = FindTimer(Target, Id);
    return timer ? static_cast<unsigned>(timer->interval()) : 0;
}

#include "VelWindowTimers.moc"
