#pragma once

#include <functional>
#include <memory>

// One timer as whoever drives its ticks sees it.
class TVelRepeatClock {
public:
    virtual ~TVelRepeatClock() = default;
    // (Re)starts the count: the first tick comes IntervalMs from now, then one every IntervalMs.
    virtual void Start(int IntervalMs) = 0;
    // Like a Qt timer, a running one starts counting the new interval from now.
    virtual void SetInterval(int IntervalMs) = 0;
    virtual void Stop() = 0;
};

// Where private library timers get their ticks from. The program's timers run on Qt's; a test
// installs a clock it moves by hand (TVelApplication::SetTimerClock), so a delay or a repeat is
// checked without waiting for it.
class TVelTimerClock {
public:
    virtual ~TVelTimerClock() = default;
    // A stopped timer that calls Tick on each of its ticks. Tick may free the timer.
    virtual std::unique_ptr<TVelRepeatClock> NewTimer(std::function<void()> Tick) = 0;
};

// A stopped timer from the installed clock, or on a Qt timer when none is installed.
std::unique_ptr<TVelRepeatClock> VelNewTimer(std::function<void()> Tick);
