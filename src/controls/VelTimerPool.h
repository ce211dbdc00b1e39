#pragma once

#include <QList>
#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

#include "VelCustomComponent.h"
#include "VelTypes.h"

// Milliseconds, 1..65535.
using TVelTimerInterval = std::uint16_t;
// Called for items without a callback of their own.
using TVelTimerPoolEvent = std::function<void(QObject* Sender, std::uint16_t Ident, std::int32_t Counter)>;

class TVelTimerItem;
class TVelTimerPool;
class TVelTimerPoolWindow;
using TVelTimerItemList = QList<TVelTimerItem*>;

// One registration in a pool: fires on every Divisor-th tick of the pool while enabled, optionally
// only CallLimit times.
class TVelTimerItem {
public:
    // Throws EVelInvalidOperation without a pool or a list.
    TVelTimerItem(TVelTimerPool* Pool, std::uint16_t Ident, TVelTimerItemList* List);
    // Leaves the pool's list.
    ~TVelTimerItem();
    TVelTimerItem(const TVelTimerItem&) = delete;
    TVelTimerItem& operator=(const TVelTimerItem&) = delete;

    TVelTimerPool* Pool() const { return pool_; }
    std::uint16_t Ident() const { return ident_; }

    // Calls after which the item disables itself; -1 never. A limit of 0 keeps it from being
    // enabled at all.
    std::int32_t CallLimit() const { return callLimit_; }
    void SetCallLimit(std::int32_t Value) { callLimit_ = Value; }
    // Calls since the item was last enabled or given a new interval.
    std::int32_t Counter() const { return counter_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    // Values that are not a multiple of the pool's MinInterval are ignored; 0 means MinInterval.
    std::uint16_t Interval() const { return interval_; }
    void SetInterval(std::uint16_t Value);
    std::int32_t Divisor() const { return divisor_; }

    // One call, as the pool's tick makes it.
    void Fire();

    // When set, called with the pool as sender instead of the pool's OnTimer.
    TNotifyEvent Callback;

private:
    TVelTimerPool* pool_;
    std::uint16_t ident_;
    TVelTimerItemList* list_;
    std::int32_t callLimit_ = -1;
    std::int32_t counter_ = 0;
    bool enabled_ = true;
    std::uint16_t interval_ = 1000;
    std::int32_t divisor_;
};

// Drives any number of periodic callbacks from one platform timer that ticks every MinInterval
// milliseconds. Idle (no window, no timer) until the first Add.
class TVelTimerPool : public TVelCustomComponent {
    Q_OBJECT
public:
    explicit TVelTimerPool(QObject* Owner = nullptr);
    explicit TVelTimerPool(TVelTimerInterval MinInterval, QObject* Owner = nullptr);
    ~TVelTimerPool() override;

    TVelTimerInterval MinInterval() const { return minInterval_; }
    // Takes effect only while the pool is being loaded from a form description: every item's
    // divisor was computed from the old value, so a change at run time is ignored.
    void SetMinInterval(TVelTimerInterval Value);
    void BeginLoading() { loading_ = true; }
    void Loaded() { loading_ = false; }
    bool IsLoading() const { return loading_; }

    // Registers Ident; Interval must be a positive multiple of MinInterval. Returns the item's
    // index. Throws EVelGeneralError for a taken identifier or an unfit interval, and
    // EVelOutOfResources when the platform refuses the timer.
    int Add(std::uint16_t Ident, TVelTimerInterval Interval, TNotifyEvent Callback = {});
    void Remove(std::uint16_t Ident);
    void Clear();
    TVelTimerItem* Find(std::uint16_t Ident) const;
    int IndexOf(std::uint16_t Ident) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TVelTimerItem* Item(int Index) const { return items_.value(Index); }
    int EnabledCount() const;

    // The platform timer runs.
    bool Active() const { return active_; }
    // Ticks since activation, starting at 1.
    std::int32_t TickCounter() const { return tickCounter_; }
    bool Busy() const { return busy_; }
    bool Updating() const { return updating_; }
    // The hidden window the platform timer ticks on; none before the first activation.
    QObject* Window() const;

    TVelTimerPoolEvent OnTimer;

private:
    friend class TVelTimerItem;
    friend class TVelTimerPoolWindow;

    // Starting the platform timer may throw; stopping it, all the destructor needs, never does.
    void Activate(bool On);
    void Deactivate();
    void HandleTimerMessage();
    void Tick();
    void FireDueItems();
    void Detach(TVelTimerItem* Item, TVelTimerItemList* List);

    TVelTimerInterval minInterval_;
    TVelTimerItemList items_;
    std::unique_ptr<TVelTimerPoolWindow> window_;
    std::int32_t tickCounter_ = 0;
    bool active_ = false;
    bool busy_ = false;
    bool updating_ = false;
    bool loading_ = false;
    // While a tick walks the list, the index it stands at, kept right when callbacks remove items.
    bool ticking_ = false;
    qsizetype tickIndex_ = 0;
};
