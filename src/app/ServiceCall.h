#pragma once

#include <atomic>
#include <chrono>

// One call to the print service, made on a thread of its own, as the window's thread sees it: a
// deadline by which the service has to have answered, and a flag that says nobody waits any more.
// The calling thread asks GiveUp() whenever libcups would go on waiting.
class TServiceCall {
public:
    using Clock = std::chrono::steady_clock;

    explicit TServiceCall(std::chrono::milliseconds bound) : bound_(bound), deadline_(Clock::now() + bound) {}

    // The time the service was given.
    std::chrono::milliseconds Bound() const { return bound_; }

    // Nobody waits for this call any more (the user cancelled, or the window gave up on it).
    void Stop() { stopped_ = true; }
    bool Stopped() const { return stopped_ || quitting_; }

    bool Overdue() const { return Clock::now() >= deadline_; }
    std::chrono::milliseconds Remaining() const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        return left.count() > 0 ? left : std::chrono::milliseconds(0);
    }

    // True when waiting on is pointless: stopped, or past the deadline, which is then remembered
    // as the service's failure to answer.
    bool GiveUp() const
    {
        if (Overdue())
            expired_ = true;
        return expired_ || Stopped();
    }
    // The service let the deadline pass while this call waited for it.
    bool Expired() const { return expired_; }

    // The program ends: every call still out gives up at once.
    static void StopAll() { quitting_ = true; }

private:
    std::chrono::milliseconds bound_;
    Clock::time_point deadline_;
    std::atomic<bool> stopped_{false};
    mutable std::atomic<bool> expired_{false};
    static inline std::atomic<bool> quitting_{false};
};
