#pragma once

#include <QObject>
#include <cstdint>
#include <memory>

#include "VelTypes.h"

class TVelRepeatClock;

// The library's periodic callback. A private timer is one timer of its own on the installed clock
// (Qt's unless a test installed another) and follows its interval exactly; a shared one is an
// item of the library application object's pool, whose ticks come every 50 ms, so its interval
// is raised to a multiple of 50 and its first call comes within one interval of its creation.
// The back end is chosen once, at creation. The timer stops and lets go of its back end when
// freed, which the owner may do from inside OnTimer.
class TVelTimer : public QObject {
    Q_OBJECT
public:
    // Shared throws EVelOutOfResources "Not enough timers available" when all 250 shared
    // identifiers are in use, and EVelGeneralError when the raised interval does not fit the pool
    // (0, or above 65500 where the raise wraps in 16 bits). A private timer with interval 0 does
    // not run.
    TVelTimer(std::uint16_t Interval, bool Shared, bool Enabled, TNotifyEvent OnTimer, QObject* Parent = nullptr);
    ~TVelTimer() override;

    bool Shared() const { return shared_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    std::uint16_t Interval() const { return interval_; }
    // A shared timer hands the value to its pool item unchanged: values that are not multiples
    // of 50 leave the item's interval as it was.
    void SetInterval(std::uint16_t Value);
    // The shared registration's identifier, 0 for a private timer.
    std::uint16_t Identifier() const { return identifier_; }

    // The next multiple of 50 at or above Interval, computed in 16 bits as the pool expects.
    static std::uint16_t RaisedInterval(std::uint16_t Interval);

    // Called with this timer as sender, whichever back end ticked. An exception it throws goes to
    // the application's exception display; the timer keeps running unless the handler stopped it.
    TNotifyEvent OnTimer;

private:
    void SetUp();
    void Release();
    void ApplyPrivate();
    void Timer();

    std::unique_ptr<TVelRepeatClock> timer_;
    std::uint16_t identifier_ = 0;
    bool shared_;
    bool enabled_;
    std::uint16_t interval_;
};
