#include <gtest/gtest.h>

#include <QTest>
#include <initializer_list>
#include <vector>

#include "VelErrors.h"
#include "VelExceptionDisplay.h"
#include "VelMessageEvent.h"
#include "VelTimerPool.h"

namespace {

// Ticks are delivered by hand through the pool's own window, the way the platform timer does.
void Tick(TVelTimerPool& Pool, int Count = 1)
{
    for (int i = 0; i < Count; ++i)
        VelSendMessage(Pool.Window(), WM_TIMER, 1);
}

template <typename Error> QString MessageOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const Error& e) {
        return e.Message();
    }
    return QStringLiteral("(nothing thrown)");
}

TEST(TimerPool, AnItemFiresOnEveryDivisorThTickFromActivation)
{
    const struct {
        std::uint16_t interval;
        int ticks;
        std::vector<std::int32_t> tickCounters;
    } rows[] = {
        {50, 3, {1, 2, 3}},
        {150, 7, {3, 6}},
        {200, 9, {4, 8}},
    };
    for (const auto& row : rows) {
        TVelTimerPool pool(50);
        std::vector<std::int32_t> fired;
        pool.Add(1, row.interval, [&](QObject* sender) {
            EXPECT_EQ(sender, &pool);
            fired.push_back(pool.TickCounter());
        });
        EXPECT_EQ(pool.Find(1)->Divisor(), row.interval / 50);
        Tick(pool, row.ticks);
        EXPECT_EQ(fired, row.tickCounters) << row.interval;
    }
}

TEST(TimerPool, AddRefusesUnfitIntervalsAndTakenIdentifiers)
{
    TVelTimerPool pool(50);
    for (const std::uint16_t interval : std::initializer_list<std::uint16_t>{0, 30, 120, 65535})
        EXPECT_EQ(MessageOf<EVelGeneralError>([&] { pool.Add(7, interval); }),
                  QStringLiteral("Interval not compatible with MinInterval property!"))
            << interval;
    EXPECT_EQ(pool.Count(), 0);
    EXPECT_FALSE(pool.Active());
    pool.Add(7, 100);
    EXPECT_NE(MessageOf<EVelGeneralError>([&] { pool.Add(7, 100); }), QStringLiteral("(nothing thrown)"));
    EXPECT_EQ(pool.Count(), 1);
}

TEST(TimerPool, AnItemNeedsAPoolAndAList)
{
    TVelTimerPool pool;
    TVelTimerItemList list;
    for (auto make : {+[](TVelTimerPool*, TVelTimerItemList*l) { TVelTimerItem item(nullptr, 1, l); },
                      +[](TVelTimerPool*p, TVelTimerItemList*) { TVelTimerItem item(p, 1, nullptr); }})
        EXPECT_EQ(MessageOf<EVelInvalidOperation>([&] { make(&pool, &list); }),
                  QStringLiteral("TVelTimerItem: Invalid Owner or List"));
}

TEST(TimerPool, ItemIntervalsMustBeMultiplesAndRestartTheCount)
{
    TVelTimerPool pool(50);
    pool.Add(1, 100);
    TVelTimerItem* item = pool.Find(1);
    Tick(pool, 2);
    ASSERT_EQ(item->Counter(), 1);
    const struct {
        std::uint16_t value;
        std::uint16_t interval;
        std::int32_t divisor;
    } rows[] = {{130, 100, 2}, {200, 200, 4}, {0, 50, 1}, {75, 50, 1}};
    for (const auto& row : rows) {
        item->SetInterval(row.value);
        EXPECT_EQ(item->Interval(), row.interval) << row.value;
        EXPECT_EQ(item->Divisor(), row.divisor) << row.value;
    }
    EXPECT_EQ(item->Counter(), 0);
}

TEST(TimerPool, ACallLimitDisablesTheItemAfterItsLastCall)
{
    TVelTimerPool pool(50);
    std::vector<std::int32_t> counters;
    pool.OnTimer = [&](QObject*, std::uint16_t ident, std::int32_t counter) {
        EXPECT_EQ(ident, 5);
        counters.push_back(counter);
    };
    pool.Add(5, 50);
    TVelTimerItem* item = pool.Find(5);
    item->SetCallLimit(3);
    Tick(pool, 5);
    EXPECT_EQ(counters, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_FALSE(item->Enabled());
    item->SetEnabled(true);
    Tick(pool, 4);
    EXPECT_EQ(counters.size(), 6u) << "enabled again, it runs to its limit once more";
    item->SetCallLimit(0);
    item->SetEnabled(true);
    EXPECT_FALSE(item->Enabled()) << "a limit of 0 keeps it off";
}

TEST(TimerPool, DisablingEveryItemKeepsTheTimerRemovingTheLastStopsIt)
{
    TVelTimerPool pool(50);
    pool.Add(1, 50);
    pool.Add(2, 100);
    pool.Find(1)->SetEnabled(false);
    pool.Find(2)->SetEnabled(false);
    EXPECT_TRUE(pool.Active());
    pool.Remove(1);
    EXPECT_TRUE(pool.Active());
    pool.Remove(2);
    EXPECT_FALSE(pool.Active());
    EXPECT_NE(pool.Window(), nullptr) << "the window stays until the pool goes";
    EXPECT_FALSE(pool.Updating());
}

TEST(TimerPool, MinIntervalChangesOnlyWhileLoading)
{
    TVelTimerPool pool;
    pool.SetMinInterval(20);
    EXPECT_EQ(pool.MinInterval(), 1000);
    pool.BeginLoading();
    pool.SetMinInterval(20);
    pool.Loaded();
    EXPECT_EQ(pool.MinInterval(), 20);
}

TEST(TimerPool, ATickArrivingDuringATickIsIgnored)
{
    TVelTimerPool pool(50);
    int calls = 0;
    pool.Add(1, 50, [&](QObject*) {
        ++calls;
        EXPECT_TRUE(pool.Busy());
        Tick(pool);
    });
    Tick(pool, 2);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(pool.Busy());
}

TEST(TimerPool, AFailingCallbackIsShownAndTheTicksGoOn)
{
    std::vector<QObject*> senders;
    const TVelExceptionDisplay previous =
        VelSetExceptionDisplay([&](QObject* sender, const std::exception_ptr&) { senders.push_back(sender); });
    TVelTimerPool pool(50);
    int calls = 0;
    pool.Add(1, 50, [&](QObject*) {
        ++calls;
        throw EVelGeneralError(QStringLiteral("boom"));
    });
    Tick(pool, 2);
    VelSetExceptionDisplay(previous);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(senders, (std::vector<QObject*>{&pool, &pool}));
}

TEST(TimerPool, ACallbackMayRemoveItemsWhileTheTickWalksTheList)
{
    TVelTimerPool pool(50);
    std::vector<int> fired;
    pool.Add(1, 50, [&](QObject*) {
        fired.push_back(1);
        pool.Remove(1);
    });
    pool.Add(2, 50, [&](QObject*) {
        fired.push_back(2);
        pool.Remove(3);
    });
    pool.Add(3, 50, [&](QObject*) { fired.push_back(3); });
    pool.Add(4, 50, [&](QObject*) { fired.push_back(4); });
    Tick(pool);
    Tick(pool);
    EXPECT_EQ(fired, (std::vector<int>{1, 2, 4, 2, 4}));
}

TEST(TimerPool, TicksOnTheEventLoop)
{
    TVelTimerPool pool(20);
    int calls = 0;
    pool.Add(1, 40, [&](QObject*) { ++calls; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls >= 3; }, 5000));
}

} // namespace
