#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "FakeClock.h"
#include "VelSpinButtonTracker.h"

namespace {

using TSteps = std::vector<std::pair<qint64, TVelSpinHalf>>;

struct TRig {
    TFakeClock clock;
    std::unique_ptr<TVelRepeatClock> timer = clock.NewTimer([this] { tracker.Tick(); });
    TVelSpinButtonTracker tracker{*timer};
    TSteps steps;

    TRig()
    {
        tracker.SetHalves(kSpinUpDown);
        tracker.OnClick = [this](TVelSpinHalf h) { steps.push_back({clock.Now(), h}); };
    }
    void RunUntil(qint64 t) { clock.AdvanceTo(t); }
};

TSteps Every(TVelSpinHalf h, std::initializer_list<qint64> times)
{
    TSteps out;
    for (qint64 t : times)
        out.push_back({t, h});
    return out;
}

} // namespace

TEST(SpinButtonTracker, HitRule)
{
    struct {
        TVelSpinState before;
        bool enabled, inHalf, leftDown;
        TVelSpinState after;
        bool changed;
    } const cases[] = {
        {ssNormal, true, true, false, ssHot, true},     {ssNormal, true, true, true, ssPressed, true},
        {ssHot, true, false, false, ssNormal, true},    {ssPressed, true, true, true, ssPressed, false},
        {ssPressed, true, false, true, ssNormal, true}, {ssDisabled, true, true, true, ssDisabled, false},
        {ssHot, false, true, false, ssDisabled, true},  {ssNormal, true, false, false, ssNormal, false},
    };
    for (const auto& c : cases) {
        TRig r;
        TVelSpinButtonTracker& t = r.tracker;
        t.SetHalves(kSpinUpDown);
        t.EnabledChanged(2, c.before, true);
        t.SetControlEnabled(c.enabled);
        EXPECT_EQ(t.Hit(shUp, c.inHalf, c.leftDown), c.changed) << int(c.before) << c.enabled << c.inHalf << c.leftDown;
        EXPECT_EQ(t.State(shUp), c.after) << int(c.before) << c.enabled << c.inHalf << c.leftDown;
    }
}

TEST(SpinButtonTracker, HoldingRepeatsAfterIntervalPlus200ThenEveryInterval)
{
    TRig r;
    r.tracker.MouseDown(true, shUp);
    r.RunUntil(720);
    EXPECT_EQ(r.steps, Every(shUp, {0, 300, 400, 500, 600, 700}));
    r.tracker.MouseUp(true, shUp, true);
    r.RunUntil(5000);
    EXPECT_EQ(r.steps.size(), 6u);
    EXPECT_FALSE(r.tracker.Repeating());
    EXPECT_EQ(r.tracker.State(shUp), ssHot);
}

TEST(SpinButtonTracker, IntervalSetsTheSchedule)
{
    TRig r;
    r.tracker.SetInterval(50);
    r.tracker.MouseDown(true, shDown);
    r.RunUntil(360);
    EXPECT_EQ(r.steps, Every(shDown, {0, 250, 300, 350}));
}

TEST(SpinButtonTracker, DraggingIntoTheOtherHalfReversesTheRepeat)
{
    TRig r;
    r.tracker.MouseDown(true, shUp);
    r.RunUntil(350);
    EXPECT_TRUE(r.tracker.MouseMove(shDown, true)); // one move, straight into the other half
    r.RunUntil(520);
    TSteps expected = Every(shUp, {0, 300});
    for (auto s : Every(shDown, {400, 500}))
        expected.push_back(s);
    EXPECT_EQ(r.steps, expected);
    EXPECT_EQ(r.tracker.State(shUp), ssNormal);
    EXPECT_EQ(r.tracker.State(shDown), ssPressed);
}

TEST(SpinButtonTracker, NoStepAfterReleaseOutsideOrLostCapture)
{
    for (int ending = 0; ending < 2; ++ending) {
        TRig r;
        r.tracker.MouseDown(true, shUp);
        r.RunUntil(350);
        if (ending == 0) {
            r.tracker.MouseUp(true, std::nullopt, false);
            EXPECT_EQ(r.tracker.State(shUp), ssNormal); // nothing stays drawn pressed
            EXPECT_EQ(r.clock.Running(), 0);
        } else {
            r.tracker.CaptureLost();
        }
        r.RunUntil(2000);
        EXPECT_EQ(r.steps, Every(shUp, {0, 300})) << ending;
    }
}

TEST(SpinButtonTracker, PressesThatDoNotStep)
{
    TRig right;
    EXPECT_FALSE(right.tracker.MouseDown(false, shUp));
    TRig disabled;
    disabled.tracker.EnabledChanged(0, 0, false);
    EXPECT_FALSE(disabled.tracker.MouseDown(true, shUp));
    EXPECT_EQ(disabled.tracker.State(shUp), ssDisabled);
    TRig gap;
    gap.tracker.MouseDown(true, std::nullopt);
    gap.RunUntil(1000);
    EXPECT_TRUE(right.steps.empty() && disabled.steps.empty() && gap.steps.empty());
}

TEST(SpinButtonTracker, DisabledHalfIgnoresPressesAndStaysDisabled)
{
    TRig r;
    r.tracker.EnabledChanged(2, ssDisabled, true);
    r.tracker.MouseMove(shUp, false);
    r.tracker.MouseDown(true, shUp);
    r.RunUntil(1000);
    EXPECT_TRUE(r.steps.empty());
    EXPECT_EQ(r.tracker.State(shUp), ssDisabled);
    r.tracker.MouseMove(shDown, true); // the other half still works
    r.RunUntil(1100);
    EXPECT_EQ(r.steps, Every(shDown, {1100}));
}

TEST(SpinButtonTracker, OnlyTheHalfThatBecomesPressedSteps)
{
    TRig r;
    r.tracker.MouseMove(shUp, false);
    ASSERT_EQ(r.tracker.State(shUp), ssHot);
    r.tracker.MouseDown(true, shDown); // no move in between: up loses its hot look but must not step
    EXPECT_EQ(r.steps, Every(shDown, {0}));
}

TEST(SpinButtonTracker, EnableStates)
{
    TRig r;
    r.tracker.SetHalves(0xF);
    r.tracker.EnabledChanged(1, ssDisabled, true);
    EXPECT_EQ(r.tracker.States(), (TVelSpinStates{ssNormal, ssDisabled, ssDisabled, ssNormal}));
    r.tracker.EnabledChanged(2, ssDisabled, true);
    r.tracker.EnabledChanged(1, ssNormal, true);
    EXPECT_EQ(r.tracker.States(), (TVelSpinStates{ssDisabled, ssNormal, ssNormal, ssDisabled}));
    EXPECT_FALSE(r.tracker.EnabledChanged(1, 7, true));
    EXPECT_FALSE(r.tracker.EnabledChanged(3, ssNormal, true));
    r.tracker.EnabledChanged(0, 0, false);
    EXPECT_EQ(r.tracker.States(), (TVelSpinStates{ssDisabled, ssDisabled, ssDisabled, ssDisabled}));
    r.tracker.EnabledChanged(0, 0, true);
    EXPECT_EQ(r.tracker.States(), (TVelSpinStates{ssNormal, ssNormal, ssNormal, ssNormal}));
    r.tracker.MouseMove(shUp, false);
    EXPECT_TRUE(r.tracker.PointerReset());
    EXPECT_EQ(r.tracker.State(shUp), ssNormal);
}

TEST(SpinButtonTracker, ClickFailureStopsTheRepeatAndIsPassedOn)
{
    TRig r;
    int calls = 0;
    r.tracker.OnClick = [&](TVelSpinHalf) {
        if (++calls == 2)
            throw std::runtime_error("step failed");
    };
    r.tracker.MouseDown(true, shUp);
    EXPECT_THROW(r.RunUntil(300), std::runtime_error);
    EXPECT_FALSE(r.tracker.Repeating());
    EXPECT_EQ(r.clock.Running(), 0);
}
