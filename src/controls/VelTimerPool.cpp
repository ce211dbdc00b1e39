#include "VelTimerPool.h"

#include <QPointer>
#include <QScopedValueRollback>
#include <limits>

#include "VelErrors.h"
#include "VelExceptionDisplay.h"
#include "VelMessageEvent.h"
#include "VelWindowTimers.h"

namespace {

constexpr WPARAM kPoolTimerId = 1;

std::int32_t Increment(std::int32_t Value)
{
    return Value == std::numeric_limits<std::int32_t>::max() ? 0 : Value + 1;
}

} // namespace

// The window the pool's one platform timer ticks on.
class TVelTimerPoolWindow : public QObject {
    Q_OBJECT
public:
    explicit TVelTimerPoolWindow(TVelTimerPool* Pool) : pool_(Pool) {}

protected:
    bool event(QEvent* Event) override
    {
        if (Event->type() != TVelMessageEvent::EventType())
            return QObject::event(Event);
        auto* message = static_cast<TVelMessageEvent*>(Event);
        if (message->Message.Msg == WM_TIMER)
            pool_->HandleTimerMessage();
        message->Message.Result = 0;
        return true;
    }

private:
    TVelTimerPool* pool_;
};

TVelTimerItem::TVelTimerItem(TVelTimerPool* Pool, std::uint16_t Ident, TVelTimerItemList* List)
    : pool_(Pool), ident_(Ident), list_(List)
{
    if (!Pool || !List)
        throw EVelInvalidOperation(QStringLiteral("TVelTimerItem: Invalid Owner or List"));
    divisor_ = interval_ / Pool->MinInterval();
}

TVelTimerItem::~TVelTimerItem()
{
    enabled_ = false;
    Callback = nullptr;
    pool_->Detach(this, list_);
}

void TVelTimerItem::SetEnabled(bool Value)
{
    if (Value == enabled_ || (Value && callLimit_ == 0))
        return;
    enabled_ = Value;
    counter_ = 0;
}

void TVelTimerItem::SetInterval(std::uint16_t Value)
{
    const std::uint16_t minimum = pool_->MinInterval();
    if (Value == interval_ || Value % minimum != 0)
        return;
    if (Value == 0)
        Value = minimum;
    divisor_ = Value / minimum;
    interval_ = Value;
    counter_ = 0;
}

void TVelTimerItem::Fire()
{
    if (!enabled_)
        return;
    counter_ = Increment(counter_);
    // Disabled without going through SetEnabled, so this last call still reports its count.
    if (counter_ == callLimit_)
        enabled_ = false;
    // Copies: the callback may free this item, and with it the function being called.
    TVelTimerPool* pool = pool_;
    if (Callback) {
        const TNotifyEvent callback = Callback;
        callback(pool);
    } else if (pool->OnTimer) {
        const TVelTimerPoolEvent onTimer = pool->OnTimer;
        onTimer(pool, ident_, counter_);
    }
}

TVelTimerPool::TVelTimerPool(QObject* Owner) : TVelTimerPool(1000, Owner) {}

TVelTimerPool::TVelTimerPool(TVelTimerInterval MinInterval, QObject* Owner)
    : TVelCustomComponent(Owner), minInterval_(MinInterval > 0 ? MinInterval : 1)
{
}

TVelTimerPool::~TVelTimerPool()
{
    Clear();
}

void TVelTimerPool::SetMinInterval(TVelTimerInterval Value)
{
    if (loading_ && Value > 0)
        minInterval_ = Value;
}

QObject* TVelTimerPool::Window() const
{
    return window_.get();
}

int TVelTimerPool::Add(std::uint16_t Ident, TVelTimerInterval Interval, TNotifyEvent Callback)
{
    if (!items_.isEmpty() && IndexOf(Ident) >= 0)
        throw EVelGeneralError(QStringLiteral("Timer identifier %1 is already registered").arg(Ident));
    if (Interval < minInterval_ || Interval % minInterval_ != 0)
        throw EVelGeneralError(QStringLiteral("Interval not compatible with MinInterval property!"));
    auto* item = new TVelTimerItem(this, Ident, &items_);
    items_.append(item);
    item->SetInterval(Interval);
    item->Callback = std::move(Callback);
    try {
        Activate(true);
    } catch (...) {
        // Without its timer the registration would hold the identifier for nothing.
        delete item;
        throw;
    }
    return static_cast<int>(items_.indexOf(item));
}

void TVelTimerPool::Remove(std::uint16_t Ident)
{
    // Ticks stay away until the list is consistent again, whichever way this returns.
    const QScopedValueRollback updating(updating_, true);
    if (TVelTimerItem* item = Find(Ident)) {
        item->SetEnabled(false);
        item->Callback = nullptr;
        delete item;
    }
    if (items_.isEmpty())
        Deactivate();
}

void TVelTimerPool::Clear()
{
    Deactivate();
    while (!items_.isEmpty())
        delete items_.last();
}

TVelTimerItem* TVelTimerPool::Find(std::uint16_t Ident) const
{
    return items_.value(IndexOf(Ident));
}

int TVelTimerPool::IndexOf(std::uint16_t Ident) const
{
    for (qsizetype i = 0; i < items_.size(); ++i)
        if (items_[i]->Ident() == Ident)
            return static_cast<int>(i);
    return -1;
}

int TVelTimerPool::EnabledCount() const
{
    int count = 0;
    for (const TVelTimerItem* item : items_)
        count += item->Enabled() ? 1 : 0;
    return count;
}

void TVelTimerPool::Activate(bool On)
{
    if (On && !window_)
        window_ = std::make_unique<TVelTimerPoolWindow>(this);
    Deactivate();
    if (On && EnabledCount() > 0) {
        if (!VelSetTimer(window_.get(), kPoolTimerId, minInterval_))
            throw EVelOutOfResources(QStringLiteral("Not enough timers available"));
        tickCounter_ = 1;
        active_ = true;
    }
}

void TVelTimerPool::Deactivate()
{
    active_ = false;
    if (window_)
        VelKillTimer(window_.get(), kPoolTimerId);
}

void TVelTimerPool::HandleTimerMessage()
{
    // A callback that pumps messages must not get the next tick inside itself.
    if (busy_)
        return;
    busy_ = true;
    const QPointer<TVelTimerPool> self(this);
    try {
        Tick();
    } catch (...) {
        VelShowException(self.data(), std::current_exception());
    }
    if (self)
        busy_ = false;
}

void TVelTimerPool::Tick()
{
    if (updating_)
        return;
    const QPointer<TVelTimerPool> self(this);
    ticking_ = true;
    try {
        FireDueItems();
    } catch (...) {
        if (self)
            ticking_ = false;
        throw;
    }
    if (!self)
        return;
    ticking_ = false;
    tickCounter_ = Increment(tickCounter_);
}

void TVelTimerPool::FireDueItems()
{
    const QPointer<TVelTimerPool> self(this);
    for (tickIndex_ = 0; tickIndex_ < items_.size(); ++tickIndex_) {
        TVelTimerItem* item = items_[tickIndex_];
        if (item->Enabled() && item->Divisor() > 0 && tickCounter_ % item->Divisor() == 0) {
            item->Fire();
            // A callback may have freed the pool itself.
            if (!self)
                return;
        }
    }
}

void TVelTimerPool::Detach(TVelTimerItem* Item, TVelTimerItemList* List)
{
    const qsizetype index = List->indexOf(Item);
    if (index < 0)
        return;
    List->removeAt(index);
    if (List == &items_ && ticking_ && index <= tickIndex_)
        --tickIndex_;
}

#include "VelTimerPool.moc"
