#include <gtest/gtest.h>

#include <QPointer>
#include <algorithm>
#include <QTest>
#include <functional>
#include <vector>

#include "VelErrors.h"
#include "VelExceptionDisplay.h"
#include "VelMessageEvent.h"
#include "VelWindowTimers.h"

namespace {

// Takes platform messages like a control does and records the WM_TIMER identifiers.
class TTimerTarget : public QObject {
public:
    std::vector<WPARAM> ticks;
    std::function<void(WPARAM)> onTick;

protected:
    bool event(QEvent* Event) override
    {
        if (Event->type() != TVelMessageEvent::EventType())
            return QObject::event(Event);
        const TMessage& message = static_cast<TVelMessageEvent*>(Event)->Message;
        if (message.Msg == WM_TIMER) {
            ticks.push_back(message.WParam);
            if (onTick)
                onTick(message.WParam);
        }
        return true;
    }
};

struct TDisplayRecorder {
    std::vector<QString> messages;
    TVelExceptionDisplay previous;
    TDisplayRecorder()
    {
        previous = VelSetExceptionDisplay([this](QObject*, const std::exception_ptr& error) {
            try {
                std::rethrow_exception(error);
            } catch (const EVelException& e) {
                messages.push_back(e.Message());
            }
        });
    }
    ~TDisplayRecorder() { VelSetExceptionDisplay(previous); }
};

TEST(WindowTimers, DeliverTimerMessagesWithTheirIdentifier)
{
    TTimerTarget target;
    ASSERT_TRUE(VelSetTimer(&target, 7, 15));
    ASSERT_TRUE(VelSetTimer(&target, 9, 15));
    EXPECT_TRUE(QTest::qWaitFor([&] { return target.ticks.size() >= 4; }, 5000));
    EXPECT_NE(std::find(target.ticks.begin(), target.ticks.end(), 7), target.ticks.end());
    EXPECT_NE(std::find(target.ticks.begin(), target.ticks.end(), 9), target.ticks.end());
}

TEST(WindowTimers, SettingAgainRestartsTheSameTimerWithTheNewInterval)
{
    TTimerTarget target;
    const int childrenBefore = static_cast<int>(target.children().size());
    VelSetTimer(&target, 3, 5000);
    VelSetTimer(&target, 3, 20);
    EXPECT_EQ(VelTimerInterval(&target, 3), 20u);
    EXPECT_EQ(static_cast<int>(target.children().size()), childrenBefore + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !target.ticks.empty(); }, 5000));
}

TEST(WindowTimers, IntervalsStayWithinThePlatformLimits)
{
    TTimerTarget target;
    VelSetTimer(&target, 1, 0);
    EXPECT_EQ(VelTimerInterval(&target, 1), unsigned(USER_TIMER_MINIMUM));
    VelSetTimer(&target, 1, 0xFFFFFFFFu);
    EXPECT_EQ(VelTimerInterval(&target, 1), unsigned(USER_TIMER_MAXIMUM));
    EXPECT_FALSE(VelSetTimer(nullptr, 1, 100));
}

TEST(WindowTimers, KillStopsOnlyThatTimer)
{
    TTimerTarget target;
    VelSetTimer(&target, 1, 10);
    VelSetTimer(&target, 2, 10);
    EXPECT_TRUE(VelKillTimer(&target, 1));
    EXPECT_FALSE(VelKillTimer(&target, 1));
    EXPECT_FALSE(VelTimerExists(&target, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return target.ticks.size() >= 3; }, 5000));
    EXPECT_EQ(std::count(target.ticks.begin(), target.ticks.end(), 1), 0);
}

TEST(WindowTimers, AHandlerMayKillItsTimerOrFreeItsTarget)
{
    auto* target = new TTimerTarget;
    QPointer<TTimerTarget> watch(target);
    int calls = 0;
    target->onTick = [&](WPARAM id) {
        ++calls;
        if (id == 1) {
            VelKillTimer(target, 1);
            VelSetTimer(target, 2, 10);
        } else {
            delete target;
        }
    };
    VelSetTimer(target, 1, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(calls, 2);
}

TEST(WindowTimers, AnExceptionInTheHandlerGoesToTheDisplay)
{
    TDisplayRecorder display;
    TTimerTarget target;
    target.onTick = [](WPARAM) { throw EVelGeneralError(QStringLiteral("tick failed")); };
    VelSetTimer(&target, 1, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return display.messages.size() >= 2; }, 5000));
    VelKillTimer(&target, 1);
    EXPECT_EQ(display.messages.front(), QStringLiteral("tick failed"));
}

} // namespace
