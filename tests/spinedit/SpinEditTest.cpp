#include <gtest/gtest.h>

#include "ScopedFormat.h"
#include "SpinEditProbe.h"
#include "VelSpinEdit.h"

namespace {

// Loaded the way the calculator's decimals input is: MaxValue, then Value twice (once for each
// class that publishes it).
void LoadLikeDecimals(TVelSpinEdit& e)
{
    e.BeginLoading();
    e.SetMaxValue(10);
    e.SetValue(1);
    e.SetValue(1);
    e.Loaded();
}

void Type(TVelSpinEdit& e, QChar c)
{
    e.Perform(WM_CHAR, c.unicode());
}

TEST(SpinEdit, ConstructionDefaults)
{
    TVelSpinEdit e;
    EXPECT_EQ(e.Text(), "0");
    EXPECT_EQ(e.EditType(), ntInteger);
    EXPECT_EQ(e.LineSize(), 1);
    EXPECT_EQ(e.PageSize(), 10);
    EXPECT_EQ(e.MinValue(), 0);
    EXPECT_EQ(e.MaxValue(), 100);
    EXPECT_EQ(e.Value(), 0);
    EXPECT_TRUE(e.AutoSize());
    EXPECT_TRUE(e.AutoSelect());
}

TEST(SpinEdit, LoadsWithoutChangeEvents)
{
    TVelSpinEdit e;
    EventLog log(e);
    LoadLikeDecimals(e);
    EXPECT_EQ(e.Text(), "1");
    EXPECT_EQ(e.Value(), 1);
    const QStringList events = log.Take();
    EXPECT_FALSE(events.contains("change"));
    EXPECT_TRUE(events.filter("textchangedat").isEmpty());
}

TEST(SpinEdit, LoadingTruncatesTheMinimum)
{
    TVelSpinEdit e;
    e.BeginLoading();
    e.SetBoundIdx(1, -2.7);
    e.Loaded();
    EXPECT_EQ(static_cast<TVelCustomExtSpinEdit&>(e).MinValue(), -2.0);
}

TEST(SpinEdit, StepsStopAtTheBounds)
{
    TVelSpinEdit e;
    LoadLikeDecimals(e);
    EventLog log(e);
    e.Perform(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(e.Text(), "2");
    EXPECT_EQ(log.Take(), QStringList({"changing 2", "changed 1 -> 2", "textchangedat 1", "change"}));

    e.SetValue(10);
    e.Perform(WM_KEYDOWN, VK_UP);
    EXPECT_EQ(e.Text(), "10");
    e.SetValue(1);
    e.Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(e.Text(), "0");
    e.Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(e.Text(), "0");
    e.Perform(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(e.Text(), "10");
}

TEST(SpinEdit, StepsRoundHalfToEven)
{
    const struct {
        double Step;
        bool Up;
        int From;
        int To;
    } rows[] = {
        {2.5, true, 0, 2},
        {3.5, true, 0, 4},
        {2.5, false, 10, 8},
        {0.4, true, 5, 5},
        // Down compares with the unrounded step: 1 - 0.6 lies above the bound, 1 - round(0.6) is 0.
        {0.6, false, 1, 0},
        {1.5, false, 1, 0}, // 1 - 1.5 passes the bound: lands on it
    };
    for (const auto& r : rows) {
        TVelSpinEdit e;
        e.SetValue(r.From);
        r.Up ? e.StepUp(r.Step) : e.StepDown(r.Step);
        EXPECT_EQ(e.Value(), r.To) << r.Step << (r.Up ? " up" : " down");
    }
}

TEST(SpinEdit, TypingPastTheMaximumIsClampedAtTheKeystroke)
{
    TVelSpinEdit e;
    LoadLikeDecimals(e);
    e.SelectAll();
    Type(e, '1');
    EXPECT_EQ(e.Text(), "1");
    Type(e, '5');
    EXPECT_EQ(e.Text(), "10");
    EXPECT_EQ(e.Value(), 10);
    EXPECT_EQ(static_cast<TVelCustomExtSpinEdit&>(e).Value(), 10.0);
}

TEST(SpinEdit, ValueFollowsTheTextNotTheStoredDouble)
{
    TVelSpinEdit e;
    e.SetCheckOnExitOnly(true);
    e.SetText("250");
    EXPECT_EQ(e.Value(), 250);
    e.Perform(WM_KILLFOCUS);
    EXPECT_EQ(e.Value(), 100);
    EXPECT_EQ(e.Text(), "100");
}

TEST(SpinEdit, OutOfRangeTextFiresValidationAndReadsZero)
{
    TVelSpinEdit e;
    e.SetValue(7);
    EventLog log(e);
    e.SetText("3000000000");
    EXPECT_EQ(e.Text(), "0");
    EXPECT_EQ(e.Value(), 0);
    EXPECT_GE(log.Count("validationerror"), 1);
}

TEST(SpinEdit, NegativeBelowTheMinimumBecomesTheMinimum)
{
    TVelSpinEdit e;
    e.SetValue(5);
    e.SetText("-5");
    EXPECT_EQ(e.Text(), "0");
    e.SetMinValue(-3);
    e.SetText("-5");
    EXPECT_EQ(e.Text(), "-3");
}

TEST(SpinEdit, IntegerSurfaceMapsOntoTheDoubleFields)
{
    TVelSpinEdit e;
    e.SetLineSize(3);
    e.SetPageSize(7);
    EXPECT_EQ(e.Step(), 3.0);
    EXPECT_EQ(e.LargeStep(), 7.0);
    e.SetStep(2.9);
    EXPECT_EQ(e.LineSize(), 2);
    e.SetMaxValue(-4); // through the bound setter: drags the minimum along
    EXPECT_EQ(e.MinValue(), -4);
    e.SetLargeStep(1e300);
    EXPECT_EQ(e.PageSize(), std::numeric_limits<int>::max());
    EXPECT_EQ(e.IntProp(5), 0);
    e.SetIntProp(5, 9); // ignored
    EXPECT_EQ(e.IntProp(4), e.Value());
}

TEST(SpinEdit, SuffixIsShownAndIgnoredByTheReader)
{
    TVelSpinEdit e;
    e.SetSuffix(" pcs");
    EXPECT_EQ(e.Text(), "0 pcs");
    e.SetValue(12);
    EXPECT_EQ(e.Text(), "12 pcs");
    EXPECT_EQ(e.Value(), 12);
}

} // namespace
