#pragma once

#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "VelClass.h"
#include "VelTimerClock.h"

// Time the test moves. While one exists, every private library timer created gets its ticks from
// it instead of Qt: Advance fires each tick that falls due on the way, in time order, at its own
// time, so a repeat or a delay is checked to the millisecond without waiting. Timers may outlive
// the clock; they then never tick again.
class TFakeClock : public TVelTimerClock {
public:
    TFakeClock() : previous_(VelApplication()->SetTimerClock(this)) {}
    ~TFakeClock() override { VelApplication()->SetTimerClock(previous_); }
    TFakeClock(const TFakeClock&) = delete;
    TFakeClock& operator=(const TFakeClock&) = delete;

    std::unique_ptr<TVelRepeatClock> NewTimer(std::function<void()> Tick) override
    {
        const int id = state_->next++;
        state_->timers[id].tick = std::move(Tick);
        return std::make_unique<TTimer>(state_, id);
    }

    qint64 Now() const { return state_->now; }
    // Timers that will tick when time moves on.
    int Running() const
    {
        int n = 0;
        for (const auto& [id, t] : state_->timers)
            n += t.due ? 1 : 0;
        return n;
    }
    void Advance(qint64 Ms) { AdvanceTo(state_->now + Ms); }
    void AdvanceTo(qint64 Time)
    {
        while (TEntry* next = NextDueBy(Time)) {
            state_->now = *next->due;
            next->due = state_->now + next->interval;
            // A copy: the tick may free its own timer.
            const std::function<void()> tick = next->tick;
            tick();
        }
        state_->now = Time;
    }

private:
    struct TEntry {
        std::function<void()> tick;
        int interval = 0;
        std::optional<qint64> due;
    };
    struct TState {
        qint64 now = 0;
        int next = 0;
        // By creation, so timers due at the same moment tick in the order they were made.
        std::map<int, TEntry> timers;
    };

    class TTimer : public TVelRepeatClock {
    public:
        TTimer(std::shared_ptr<TState> State, int Id) : state_(std::move(State)), id_(Id) {}
        ~TTimer() override { state_->timers.erase(id_); }
        TTimer(const TTimer&) = delete;
        TTimer& operator=(const TTimer&) = delete;
        void Start(int Ms) override
        {
            Entry().interval = std::max(Ms, 1);
            Entry().due = state_->now + Ms;
        }
        void SetInterval(int Ms) override
        {
            Entry().interval = std::max(Ms, 1);
            if (Entry().due)
                Entry().due = state_->now + Ms;
        }
        void Stop() override { Entry().due.reset(); }

    private:
        TEntry& Entry() { return state_->timers[id_]; }

        std::shared_ptr<TState> state_;
        int id_;
    };

    TEntry* NextDueBy(qint64 Time)
    {
        TEntry* next = nullptr;
        for (auto& [id, t] : state_->timers)
            if (t.due && *t.due <= Time && (!next || *t.due < *next->due))
                next = &t;
        return next;
    }

    std::shared_ptr<TState> state_ = std::make_shared<TState>();
    TVelTimerClock* previous_;
};
