#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <limits>

#include "ScopedFormat.h"
#include "VelApplicationTitle.h"
#include "SpinEditProbe.h"
#include "VelExtSpinEdit.h"

namespace {

// Loaded the way the calculator's window description loads its three inputs.
void LoadLikeCalculator(TVelExtSpinEdit& e)
{
    e.BeginLoading();
    e.SetMaxValue(1000000.0);
    e.SetEditType(ntFloatNumber);
    e.SetFractionStep(0.1);
    e.SetValue(0.0);
    e.Loaded();
}

void Key(TVelCustomExtSpinEdit& e, std::uint16_t key)
{
    e.Perform(WM_KEYDOWN, key);
}

class CalculatorEdit : public ::testing::TestWithParam<bool> {
protected:
    CalculatorEdit() : format_(GetParam() ? QChar(',') : QChar('.'), GetParam() ? QChar('.') : QChar(','))
    {
        LoadLikeCalculator(edit);
    }
    // The expected text written with "." and ","; swapped for the other locale.
    QString Local(const char* dotText) const
    {
        QString s = QString::fromLatin1(dotText);
        if (GetParam()) {
            for (QChar& c : s)
                c = c == '.' ? QChar(',') : c == ',' ? QChar('.') : c;
        }
        return s;
    }

    ScopedFormat format_;
    MessageBoxCatcher boxes_;

public:
    TVelExtSpinEdit edit;
};

INSTANTIATE_TEST_SUITE_P(Locales, CalculatorEdit, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Comma" : "Dot"; });

TEST_P(CalculatorEdit, LoadsShowingZeroWithoutChangeEvents)
{
    TVelExtSpinEdit e;
    EventLog log(e);
    LoadLikeCalculator(e);
    EXPECT_EQ(e.Text(), Local("0.0"));
    EXPECT_EQ(e.Value(), 0.0);
    EXPECT_EQ(e.MinValue(), 0.0);
    EXPECT_EQ(e.MaxValue(), 1000000.0);
    EXPECT_EQ(log.Take(), QStringList());
}

TEST_P(CalculatorEdit, AssignmentEventOrderWithReRead)
{
    EventLog log(edit);
    edit.SetValue(1.25);
    EXPECT_EQ(edit.Text(), Local("1.3"));
    EXPECT_EQ(edit.Value(), 1.3);
    EXPECT_EQ(log.Take(), QStringList({"changing 1.25", "changing 1.3", "changed 1.25 -> 1.3", "textchangedat 1",
                                       "change", "changed 0 -> 1.3"}));
}

TEST_P(CalculatorEdit, AssignmentWithoutReRead)
{
    EventLog log(edit);
    edit.SetValue(12.5);
    EXPECT_EQ(log.Take(), QStringList({"changing 12.5", "textchangedat 1", "change", "changed 0 -> 12.5"}));
    // 12.46 shows as the text already there: nothing is re-read and the value keeps its digits.
    edit.SetValue(12.46);
    EXPECT_EQ(edit.Value(), 12.46);
    EXPECT_EQ(log.Take(), QStringList({"changing 12.46", "changed 12.5 -> 12.46"}));
}

TEST_P(CalculatorEdit, AssigningTheStoredValueFiresNothing)
{
    edit.SetValue(7.0);
    EventLog log(edit);
    edit.SetValue(7.0);
    edit.SetValueIdx(1, 3.0); // not the Value index
    EXPECT_EQ(log.Take(), QStringList());
    EXPECT_EQ(edit.Value(), 7.0);
}

TEST_P(CalculatorEdit, TwoDecimalsRoundAndReRead)
{
    edit.SetDecimals(2);
    edit.SetValue(123456.789);
    EXPECT_EQ(edit.Text(), Local("123,456.79"));
    EXPECT_EQ(edit.Value(), 123456.79);
}

TEST_P(CalculatorEdit, AssignmentAboveTheMaximumLandsOnIt)
{
    edit.SetValue(2000000.0);
    EXPECT_EQ(edit.Text(), Local("1,000,000.0"));
    EXPECT_EQ(edit.Value(), 1000000.0);
    edit.SetValue(-5.0);
    EXPECT_EQ(edit.Text(), Local("0.0"));
}

TEST_P(CalculatorEdit, TypedTextAboveTheMaximumSnapsAtOnce)
{
    edit.SetText(Local("2000000.0"));
    EXPECT_EQ(edit.Text(), Local("1,000,000.0"));
    EXPECT_EQ(edit.Value(), 1000000.0);
}

TEST_P(CalculatorEdit, CheckOnExitOnlyKeepsTypedTextUntilFocusLeaves)
{
    edit.SetCheckOnExitOnly(true);
    edit.SetText(Local("2000000.0"));
    EXPECT_EQ(edit.Text(), Local("2,000,000.0"));
    EXPECT_EQ(edit.Value(), 2000000.0);
    edit.Perform(WM_KILLFOCUS);
    EXPECT_EQ(edit.Text(), Local("1,000,000.0"));
    EXPECT_EQ(edit.Value(), 1000000.0);
}

TEST_P(CalculatorEdit, DecimalsUpPadsWithoutValueEvents)
{
    edit.SetValue(12.3);
    EventLog log(edit);
    edit.SetDecimals(2);
    EXPECT_EQ(edit.Text(), Local("12.30"));
    EXPECT_EQ(edit.Value(), 12.3);
    // The reformat's own text change notifies, then the change that asked for it.
    EXPECT_EQ(log.Take(), QStringList({"textchangedat 1", "change", "textchangedat 1", "change"}));
}

TEST_P(CalculatorEdit, DecimalsDownCutsInsteadOfRounding)
{
    edit.SetDecimals(2);
    edit.SetValue(12.35);
    ASSERT_EQ(edit.Text(), Local("12.35"));
    edit.SetDecimals(1);
    EXPECT_EQ(edit.Text(), Local("12.3"));
    EXPECT_EQ(edit.Value(), 12.3);
}

TEST_P(CalculatorEdit, ValueChangingHandlerDoublesBeforeClamping)
{
    edit.OnValueChanging = [](QObject*, double& v, bool&) { v *= 2; };
    edit.SetValue(3.0);
    EXPECT_EQ(edit.Value(), 6.0);
    EXPECT_EQ(edit.Text(), Local("6.0"));
    edit.SetValue(600000.0);
    EXPECT_EQ(edit.Value(), 1000000.0);
}

TEST_P(CalculatorEdit, VetoedValueSnapsTheTextBack)
{
    edit.SetValue(4.0);
    edit.OnValueChanging = [](QObject*, double&, bool& canModify) { canModify = false; };
    edit.SetValue(9.0);
    EXPECT_EQ(edit.Value(), 4.0);
    edit.SetText(Local("7.0"));
    EXPECT_EQ(edit.Text(), Local("4.0"));
    EXPECT_EQ(edit.Value(), 4.0);
}

TEST_P(CalculatorEdit, NotANumberEndsAtZeroWithAValidationError)
{
    edit.SetValue(5.0);
    EventLog log(edit);
    edit.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(edit.Value(), 0.0);
    EXPECT_EQ(edit.Text(), Local("0.0"));
    EXPECT_GE(log.Count("validationerror"), 1);
}

TEST_P(CalculatorEdit, StepKeysWithTheCaretInTheIntegerPart)
{
    const struct {
        std::uint16_t Key;
        const char* Text;
    } rows[] = {{VK_UP, "1.0"}, {VK_PRIOR, "11.0"}, {VK_NEXT, "1.0"}, {VK_DOWN, "0.0"}, {VK_DOWN, "0.0"}};
    for (const auto& r : rows) {
        edit.SetCursorPos(1);
        Key(edit, r.Key);
        EXPECT_EQ(edit.Text(), Local(r.Text)) << r.Key;
    }
    EXPECT_EQ(edit.Value(), 0.0);
}

TEST_P(CalculatorEdit, CaretInTheFractionStepsByFractionStepAndStaysThere)
{
    edit.SetValue(5.0);
    edit.SetCursorPos(3); // right of the separator
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("5.1"));
    EXPECT_EQ(edit.CursorPos(), 3);
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("5.2"));
    Key(edit, VK_PRIOR); // the large step gives way too
    EXPECT_EQ(edit.Text(), Local("5.3"));
    Key(edit, VK_NEXT);
    Key(edit, VK_DOWN);
    EXPECT_EQ(edit.Text(), Local("5.1"));
    EXPECT_DOUBLE_EQ(edit.Value(), 5.1);
    edit.SetCursorPos(2); // left of the separator
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("6.1"));
}

TEST_P(CalculatorEdit, StepUpLandsOnTheMaximumThenStays)
{
    edit.SetDecimals(2);
    edit.SetValue(999999.95);
    edit.SetCursorPos(1);
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("1,000,000.00"));
    EXPECT_EQ(edit.Value(), 1000000.0);
    EventLog log(edit);
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Value(), 1000000.0);
    EXPECT_EQ(log.Take(), QStringList());
}

TEST_P(CalculatorEdit, StepOutsideTheBoundsFirstComesBackOntoTheBound)
{
    edit.SetCheckOnExitOnly(true);
    edit.SetText(Local("2000000.0"));
    edit.SetCursorPos(1);
    Key(edit, VK_DOWN);
    EXPECT_EQ(edit.Text(), Local("999,999.0"));
    edit.SetText(Local("-5.0"));
    edit.SetCursorPos(1);
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("1.0"));
}

TEST_P(CalculatorEdit, ModifiersDoNotChangeTheStepKeys)
{
    QTest::keyClick(&edit, Qt::Key_Up, Qt::ControlModifier);
    edit.SetCursorPos(2);
    QTest::keyClick(&edit, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(edit.Text(), Local("11.0"));
    EXPECT_EQ(edit.CursorPos(), 2);
    EXPECT_EQ(edit.SelLength(), 0);
}

TEST_P(CalculatorEdit, KeyDownHandlerThatClearsTheKeySuppressesTheStep)
{
    edit.OnKeyDown = [](QObject*, std::uint16_t& key, Qt::KeyboardModifiers) { key = 0; };
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("0.0"));
}

TEST_P(CalculatorEdit, WheelNotchesStepByStep)
{
    // Only the focused edit takes the wheel.
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit.hasFocus(); }));
    QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&edit, &up);
    EXPECT_EQ(edit.Text(), Local("2.0"));
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&edit, &down);
    EXPECT_EQ(edit.Text(), Local("1.0"));
}

TEST_P(CalculatorEdit, ReadOnlyRefusesStepsButNotAssignment)
{
    edit.SetReadOnly(true);
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("0.0"));
    edit.SetValue(3.0);
    EXPECT_EQ(edit.Text(), Local("3.0"));
}

TEST_P(CalculatorEdit, EditorDisabledRefusesTypingButSteps)
{
    edit.SetEditorEnabled(false);
    edit.SetCursorPos(1);
    edit.Perform(WM_CHAR, '7');
    EXPECT_EQ(edit.Text(), Local("0.0"));
    Key(edit, VK_UP);
    EXPECT_EQ(edit.Text(), Local("1.0"));
}

TEST_P(CalculatorEdit, GroupsNegativeNumbersWithoutSeparatorAfterTheSign)
{
    edit.SetMinValue(-1000000.0);
    edit.SetValue(-1234.5);
    EXPECT_EQ(edit.Text(), Local("-1,234.5"));
    edit.SetValue(-123.5);
    EXPECT_EQ(edit.Text(), Local("-123.5"));
    EXPECT_EQ(edit.Value(), -123.5);
}

TEST_P(CalculatorEdit, UnreadableTextBecomesZero)
{
    edit.SetValue(5.0);
    EventLog log(edit);
    edit.SetText("abc");
    EXPECT_EQ(edit.Value(), 0.0);
    EXPECT_EQ(edit.Text(), Local("0.0"));
    EXPECT_GE(log.Count("validationerror"), 1);
}

TEST_P(CalculatorEdit, FractionWithoutIntegerPartReadsZero)
{
    edit.SetValue(5.0);
    EventLog log(edit);
    edit.SetText(Local(".5"));
    EXPECT_EQ(edit.Value(), 0.0);
    EXPECT_EQ(edit.Text(), Local("0.0"));
    EXPECT_EQ(log.Count("validationerror"), 0);
}

TEST(ExtSpinEdit, ConstructionDefaults)
{
    MessageBoxCatcher boxes;
    TVelExtSpinEdit e;
    EXPECT_EQ(e.Text(), "0");
    EXPECT_EQ(e.EditType(), ntInteger);
    EXPECT_EQ(e.InputKind(), ikInteger);
    EXPECT_EQ(e.Decimals(), 1);
    EXPECT_EQ(e.MinValue(), 0.0);
    EXPECT_EQ(e.MaxValue(), 100.0);
    EXPECT_EQ(e.Step(), 1.0);
    EXPECT_EQ(e.LargeStep(), 10.0);
    EXPECT_EQ(e.FractionStep(), 0.1);
    EXPECT_FALSE(e.InfiniteMin() || e.InfiniteMax() || e.CheckOnExitOnly() || e.AutoDisableButtons());
    EXPECT_TRUE(e.EditorEnabled());
    EXPECT_TRUE(boxes.Shown.empty());
}

TEST(ExtSpinEdit, EqualSeparatorsWarnAndConstructionGoesOn)
{
    ScopedFormat f('.', '.');
    MessageBoxCatcher boxes;
    TVelExtSpinEdit e;
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown.front(), "Decimal and thousand separators must differ!");
    EXPECT_EQ(e.Text(), "0");
}

// The real box, under a display name like the one desktops set: its caption is the program's
// title all the same, as every message box of the program's.
TEST(ExtSpinEdit, TheSeparatorWarningIsCaptionedWithTheApplicationTitle)
{
    ScopedFormat f('.', '.');
    const QString displayName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Velorin"));
    QString caption;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            caption = box->windowTitle();
            box->close();
        }
    });
    closer.start(10);
    TVelExtSpinEdit e;
    QGuiApplication::setApplicationDisplayName(displayName);
    EXPECT_EQ(caption, ApplicationTitleFrom(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(caption, QStringLiteral("test_spinedit"));
}

TEST(ExtSpinEdit, BoundsDragEachOtherAndLeaveTheValue)
{
    TVelExtSpinEdit e;
    e.SetValue(50.0);
    e.SetMinValue(200.0);
    EXPECT_EQ(e.MaxValue(), 200.0);
    EXPECT_EQ(e.Value(), 50.0) << "bounds take effect at the next assignment";
    e.SetMaxValue(-10.0);
    EXPECT_EQ(e.MinValue(), -10.0);
    e.SetBoundIdx(3, 999.0);
    EXPECT_EQ(e.MaxValue(), -10.0);
}

TEST(ExtSpinEdit, EditTypeDisplayForms)
{
    ScopedFormat f('.', ',');
    const struct {
        TVelNumberType Type;
        int Decimals;
        double Value;
        const char* Text;
    } rows[] = {
        {ntFloat, 3, 2.5, "2.5"},    {ntFloat, 3, 2.0, "2"},         {ntFloat, 1, 10.0, "10"},
        {ntFloatFixed, 0, 5.0, "5"}, {ntFloatFixed, 2, 5.0, "5.00"}, {ntFloatNumber, 3, 1000000.0, "1,000,000.000"},
        {ntInteger, 1, 42.9, "42"},
    };
    for (const auto& r : rows) {
        TVelExtSpinEdit e;
        e.SetMaxValue(1e7);
        e.SetEditType(r.Type);
        e.SetDecimals(r.Decimals);
        e.SetValue(r.Value);
        EXPECT_EQ(e.Text(), r.Text) << r.Type << " " << r.Value;
    }
}

TEST(ExtSpinEdit, FixedTypeValueTextIsPaddedButTheReformatDropsIt)
{
    TVelExtSpinEdit e;
    e.SetEditType(ntFloatFixed);
    e.SetDecimals(0);
    EXPECT_EQ(e.ValueText(5.0), "5.0");
    e.SetValue(5.0);
    EXPECT_EQ(e.Text(), "5");
}

TEST(ExtSpinEdit, EditTypeSwitchCarriesTheValueAcross)
{
    TVelExtSpinEdit e;
    e.SetValue(7.0);
    e.SetEditType(ntFloatNumber);
    EXPECT_EQ(e.Text(), "7.0");
    e.SetValue(7.5);
    e.SetEditType(ntInteger);
    EXPECT_EQ(e.Text(), "7");
    EXPECT_EQ(e.Value(), 7.0);
}

TEST(ExtSpinEdit, ReadersOfAnotherKindRaise)
{
    TVelExtSpinEdit e;
    try {
        (void)e.AsFloat();
        FAIL() << "no exception";
    } catch (const EVelWrongDataType& x) {
        EXPECT_EQ(x.Message(), "No float entered");
    }
    e.SetEditType(ntFloat);
    try {
        (void)e.AsInteger();
        FAIL() << "no exception";
    } catch (const EVelWrongDataType& x) {
        EXPECT_EQ(x.Message(), "No integer entered");
    }
}

TEST(ExtSpinEdit, InfiniteBoundsDoNotClamp)
{
    TVelExtSpinEdit e;
    e.SetEditType(ntFloatNumber);
    e.SetInfiniteMax(true);
    e.SetInfiniteMin(true);
    e.SetValue(2000000.0);
    EXPECT_EQ(e.Text(), "2,000,000.0");
    e.SetValue(-3.0);
    EXPECT_EQ(e.Text(), "-3.0");
    e.SetCursorPos(1);
    e.StepDown(1.0);
    EXPECT_EQ(e.Text(), "-4.0");
}

TEST(ExtSpinEdit, SuffixIsShownAndIgnoredByTheReader)
{
    TVelExtSpinEdit e;
    e.SetEditType(ntFloatNumber);
    e.SetSuffix(" V");
    EXPECT_EQ(e.Text(), "0.0 V");
    e.SetValue(12.5);
    EXPECT_EQ(e.Text(), "12.5 V");
    EXPECT_EQ(e.TextWithoutSuffix(), "12.5");
    e.SetSuffix(" A");
    EXPECT_EQ(e.Text(), "12.5 A");
    e.SetCursorPos(1);
    e.StepUp(1.0);
    EXPECT_EQ(e.Text(), "13.5 A");
    EXPECT_EQ(e.Value(), 13.5);
}

TEST(ExtSpinEdit, LoneMinusLeavesAsZero)
{
    // The float type keeps typed text as it is, so a sign alone is still there when the focus goes.
    TVelExtSpinEdit e;
    e.SetMinValue(-10.0);
    e.SetEditType(ntFloat);
    e.SetValue(-2.0);
    e.SetText("-");
    EXPECT_EQ(e.Text(), "0") << "reads 0, a changed value rewrites the text";
    e.SetText("-");
    ASSERT_EQ(e.Text(), "-") << "an unchanged value leaves it";
    e.Perform(WM_KILLFOCUS);
    EXPECT_EQ(e.Text(), "0");
    EXPECT_EQ(e.Value(), 0.0);
}

TEST(ExtSpinEdit, SignTypedAheadIsKeptByTheReformat)
{
    const struct {
        TVelNumberType Type;
        const char* Text;
    } rows[] = {{ntInteger, "-0"}, {ntFloatNumber, "-0.0"}, {ntFloatFixed, "-0.0"}};
    for (const auto& r : rows) {
        TVelExtSpinEdit e;
        e.SetMinValue(-10.0);
        e.SetEditType(r.Type);
        e.SetText("-");
        EXPECT_EQ(e.Text(), r.Text) << r.Type;
        EXPECT_EQ(e.Value(), 0.0);
    }
}

TEST(ExtSpinEdit, AutoDisableButtonsFollowsTheBounds)
{
    TVelExtSpinEdit e;
    HalvesProbe halves;
    e.SetSpinButtonHalves(&halves);
    halves.Calls.clear();
    e.SetAutoDisableButtons(true);
    EXPECT_EQ(halves.Calls, QStringList({"up:normal", "down:normal", "down:disabled"}));
    halves.Calls.clear();
    e.SetValue(100.0);
    EXPECT_EQ(halves.Calls.last(), "up:disabled");
    EXPECT_FALSE(halves.Calls.contains("down:disabled"));
    halves.Calls.clear();
    e.SetAutoDisableButtons(false);
    EXPECT_EQ(halves.Calls, QStringList({"up:normal", "down:normal"}));
    e.SetSpinButtonHalves(nullptr);
    e.UpdateButtons(); // no button: nothing to do
}

TEST(ExtSpinEdit, CurrencyTypeSettlesOnOneText)
{
    TFormatSettings s;
    s.CurrencyString = "$";
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 1;
    s.CurrencyDecimals = 2;
    ScopedFormat f(s);
    TVelExtSpinEdit e;
    e.SetSuffix(" x"); // money carries no suffix
    e.SetMaxValue(1e6);
    e.SetEditType(ntCurrency);
    e.SetValue(1234.5);
    EXPECT_EQ(e.Text(), "$1,234.50");
    EXPECT_EQ(e.Value(), 1234.5);
    e.SetValue(1.255);
    EXPECT_EQ(e.Text(), "$1.26");
    EXPECT_EQ(e.Value(), 1.26);
    e.SetCursorPos(1);
    e.StepUp(1.0);
    EXPECT_EQ(e.Text(), "$2.26");
    e.SetText("2.5");
    EXPECT_EQ(e.Text(), "$2.50");
}

} // namespace
