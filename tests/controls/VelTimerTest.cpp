#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <initializer_list>
#include <memory>
#include <vector>

#include "VelClass.h"
#include "VelErrors.h"
#include "VelExceptionDisplay.h"
#include "VelMessageEvent.h"
#include "VelTimer.h"

namespace {

TVelTimerPool& SharedPool()
{
    return *VelApplication()->TimerPool();
}

TVelTimerItem& ItemOf(const TVelTimer& Timer)
{
    TVelTimerItem* item = VelApplication()->FindTimer(Timer.Identifier());
    EXPECT_NE(item, nullptr);
    return *item;
}

TEST(VelTimer, SharedIntervalsRiseToTheNextMultipleOfFiftyIn16Bits)
{
    const struct {
        std::uint16_t interval, raised;
    } rows[] = {{120, 150}, {100, 100}, {1, 50}, {0, 0}, {65500, 65500}, {65501, 14}, {65535, 14}};
    for (const auto& row : rows)
        EXPECT_EQ(TVelTimer::RaisedInterval(row.interval), row.raised) << row.interval;
}

TEST(VelTimer, ASharedTimerRegistersARaisedItem)
{
    TVelTimer timer(120, true, true, {});
    EXPECT_TRUE(timer.Shared());
    EXPECT_GT(timer.Identifier(), kVelTimerIdentBase);
    EXPECT_EQ(timer.Interval(), 150);
    EXPECT_EQ(ItemOf(timer).Interval(), 150);
    EXPECT_EQ(ItemOf(timer).Divisor(), 3);
    EXPECT_TRUE(ItemOf(timer).Enabled());
    TVelTimer disabled(100, true, false, {});
    EXPECT_EQ(ItemOf(disabled).Interval(), 100);
    EXPECT_FALSE(ItemOf(disabled).Enabled());
}

TEST(VelTimer, ASharedIntervalChangeReachesTheItemOnlyAsAMultiple)
{
    TVelTimer timer(150, true, true, {});
    for (int i = 0; i < 3; ++i)
        VelSendMessage(SharedPool().Window(), WM_TIMER, 1);
    timer.SetInterval(130);
    EXPECT_EQ(ItemOf(timer).Interval(), 150);
    timer.SetInterval(200);
    EXPECT_EQ(ItemOf(timer).Interval(), 200);
    EXPECT_EQ(ItemOf(timer).Divisor(), 4);
    EXPECT_EQ(ItemOf(timer).Counter(), 0);
    timer.SetEnabled(false);
    EXPECT_FALSE(ItemOf(timer).Enabled());
}

TEST(VelTimer, SharedTimersRunOutAfter250AndFreedSlotsComeBackLowestFirst)
{
    TVelApplication* app = VelApplication();
    const int inUse = app->TimerSlotsInUse();
    std::vector<std::unique_ptr<TVelTimer>> timers;
    while (app->TimerSlotsInUse() < kVelTimerSlots)
        timers.push_back(std::make_unique<TVelTimer>(50, true, false, TNotifyEvent{}));
    try {
        TVelTimer extra(50, true, false, {});
        ADD_FAILURE() << "the 251st shared timer was created";
    } catch (const EVelOutOfResources& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Not enough timers available"));
    }
    const std::uint16_t freedLow = timers[3]->Identifier();
    const std::uint16_t freedHigh = timers[9]->Identifier();
    timers[9].reset();
    timers[3].reset();
    EXPECT_EQ(app->FindTimer(freedLow), nullptr);
    EXPECT_EQ(TVelTimer(50, true, false, {}).Identifier(), freedLow);
    timers.clear();
    EXPECT_EQ(app->TimerSlotsInUse(), inUse);
    EXPECT_NE(freedHigh, 0);
}

TEST(VelTimer, AnUnfitSharedIntervalFailsWithoutTakingASlot)
{
    const int inUse = VelApplication()->TimerSlotsInUse();
    for (const std::uint16_t interval : std::initializer_list<std::uint16_t>{0, 65501}) {
        try {
            TVelTimer timer(interval, true, true, {});
            ADD_FAILURE() << interval;
        } catch (const EVelGeneralError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Interval not compatible with MinInterval property!"));
        }
        EXPECT_EQ(VelApplication()->TimerSlotsInUse(), inUse);
    }
}

TEST(VelTimer, OnTimerComesWithTheTimerAsSenderOnBothBackEnds)
{
    for (const bool shared : {false, true}) {
        std::vector<QObject*> senders;
        TVelTimer timer(50, shared, true, [&](QObject* sender) { senders.push_back(sender); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return senders.size() >= 2; }, 5000)) << shared;
        timer.SetEnabled(false);
        EXPECT_EQ(senders.front(), &timer);
    }
}

TEST(VelTimer, APrivateTimerWithoutIntervalOrDisabledDoesNotRun)
{
    int calls = 0;
    TVelTimer zero(0, false, true, [&](QObject*) { ++calls; });
    TVelTimer off(10, false, false, [&](QObject*) { ++calls; });
    QTest::qWait(60);
    EXPECT_EQ(calls, 0);
    off.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 5000));
}

TEST(VelTimer, TheHandlerMayFreeItsTimer)
{
    for (const bool shared : {false, true}) {
        const int inUse = VelApplication()->TimerSlotsInUse();
        auto* timer = new TVelTimer(50, shared, true, {});
        QPointer<TVelTimer> watch(timer);
        timer->OnTimer = [timer](QObject*) { delete timer; };
        EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000)) << shared;
        EXPECT_EQ(VelApplication()->TimerSlotsInUse(), inUse);
    }
}

TEST(VelTimer, AFailingPrivateHandlerIsShownAndTheTimerGoesOn)
{
    std::vector<QObject*> senders;
    const TVelExceptionDisplay previous =
        VelSetExceptionDisplay([&](QObject* sender, const std::exception_ptr&) { senders.push_back(sender); });
    TVelTimer timer(10, false, true, [](QObject*) { throw EVelGeneralError(QStringLiteral("boom")); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return senders.size() >= 2; }, 5000));
    timer.SetEnabled(false);
    VelSetExceptionDisplay(previous);
    EXPECT_EQ(senders.front(), &timer);
}

} // namespace
