#include <gtest/gtest.h>

#include <QTest>

#include "ScopedFormat.h"
#include "SpinEditProbe.h"
#include "VelClass.h"
#include "VelExtSpinEdit.h"

namespace {

// Keys of a row: '\b' is Backspace, '\x7f' Delete, everything else is typed as it stands.
void Press(TVelExtSpinEdit& e, const QString& keys)
{
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(&e, Qt::Key_Backspace);
        else if (c == u'\x7f')
            QTest::keyClick(&e, Qt::Key_Delete);
        else
            QTest::keyClick(&e, c.toLatin1());
    }
}

std::string S(const QString& s)
{
    return s.toStdString();
}

// Starts a row with no modifier held and the insert mode it asks for, and puts the shared state back.
class OverwriteMode {
public:
    explicit OverwriteMode(bool on) : saved_(VelApplication()->KeyboardState())
    {
        VelApplication()->SetKeyboardState(on ? 0 : ksInsertMode);
    }
    ~OverwriteMode() { VelApplication()->SetKeyboardState(saved_); }
    OverwriteMode(const OverwriteMode&) = delete;
    OverwriteMode& operator=(const OverwriteMode&) = delete;

private:
    std::uint8_t saved_;
};

enum Bounds { NonNegative, Signed };

struct Row {
    const char* Name;
    TVelNumberType Type;
    Bounds Range;
    bool Overwrite;
    const char* Suffix;
    const char* Start;
    int Caret, SelStart, SelLength;
    const char* Keys;
    const char* Text;
    int CaretAfter;
};

// Texts and keys are written for the "." / "," format and swapped for the "," / "." one.
const Row Rows[] = {
    {"ZeroGivesWayToFirstDigit", ntFloatNumber, NonNegative, false, "", "0.0", 1, 0, 0, "7", "7.0", 2},
    {"SecondDigitFollows", ntFloatNumber, NonNegative, false, "", "0.0", 1, 0, 0, "75", "75.0", 3},
    {"ZeroGivesWayFromBeforeSeparator", ntFloatNumber, NonNegative, false, "", "0.0", 2, 0, 0, "7", "7.0", 2},
    {"DigitInFractionOfZero", ntFloatNumber, NonNegative, false, "", "0.0", 3, 0, 0, "5", "0.5", 4},
    {"FourDigitsGroupCaretAfterLast", ntFloatNumber, NonNegative, false, "", "0.0", 1, 0, 0, "1234", "1,234.0", 6},
    {"FiveDigitsKeepTheirOrder", ntFloatNumber, NonNegative, false, "", "0.0", 1, 0, 0, "12345", "12,345.0", 7},
    {"SevenDigitsTwoGroups", ntFloatNumber, NonNegative, false, "", "0.0", 1, 0, 0, "1234567", "1,234,567.0", 10},
    {"DigitAtStartAddsGroup", ntFloatNumber, NonNegative, false, "", "234.0", 1, 0, 0, "1", "1,234.0", 3},
    {"DigitInsideGroupsRegroups", ntFloatNumber, NonNegative, false, "", "123,456.0", 3, 0, 0, "9", "1,293,456.0", 5},
    {"SeparatorStepsIntoFraction", ntFloatNumber, NonNegative, false, "", "12.0", 3, 0, 0, ".5", "12.5", 5},
    {"SecondFractionDigitCutOff", ntFloatNumber, NonNegative, false, "", "1.5", 4, 0, 0, "2", "1.5", 4},
    {"LettersSpaceAndGroupCharRefused", ntFloatNumber, NonNegative, false, "", "12.0", 2, 0, 0, "a Z,+", "12.0", 2},
    {"MinusClampedToZero", ntFloatNumber, NonNegative, false, "", "12.0", 1, 0, 0, "-", "0.0", 2},
    {"MinusTogglesBothWays", ntFloatNumber, Signed, false, "", "1,234.0", 3, 0, 0, "-", "-1,234.0", 4},
    {"MinusTwiceRestores", ntFloatNumber, Signed, false, "", "1,234.0", 3, 0, 0, "--", "1,234.0", 3},
    {"MinusOverSelectionSelectsNext", ntFloatNumber, Signed, false, "", "0.0", 4, 1, 3, "-7", "-7.0", 3},
    {"MinusOverWholeNumberStartsNegative", ntFloatNumber, Signed, false, "", "1,234.0", 8, 1, 7, "-5", "-5.0", 3},
    {"MinusOverWholeNumberClamped", ntFloatNumber, NonNegative, false, "", "12.0", 5, 1, 4, "-5", "0.0", 3},
    {"IntegerMinusOverSelection", ntInteger, Signed, false, "", "42", 3, 1, 2, "-5", "-5", 3},
    {"ZeroAfterSignGivesWay", ntFloatNumber, Signed, false, "", "-0.0", 1, 0, 0, "7", "-7.0", 3},
    {"BackspaceOnSeparatorSteps", ntFloatNumber, NonNegative, false, "", "1,234.0", 7, 0, 0, "\b", "1,234.0", 6},
    {"DeleteOnSeparatorSteps", ntFloatNumber, NonNegative, false, "", "1,234.0", 6, 0, 0, "\x7f", "1,234.0", 7},
    {"DeleteBeforeGroupRemovesDigit", ntFloatNumber, NonNegative, false, "", "1,234.0", 2, 0, 0, "\x7f", "134.0", 2},
    {"BackspaceAfterGroupRemovesDigit", ntFloatNumber, NonNegative, false, "", "1,234.0", 3, 0, 0, "\b", "234.0", 1},
    {"BackspaceAcrossGroupBoundary", ntFloatNumber, NonNegative, false, "", "1,234.0", 4, 0, 0, "\b", "134.0", 2},
    {"DeleteTwoGroupsDown", ntFloatNumber, NonNegative, false, "", "1,234,567.0", 1, 0, 0, "\x7f", "234,567.0", 1},
    {"BackspaceAcrossSecondBoundary", ntFloatNumber, NonNegative, false, "", "1,234,567.0", 8, 0, 0, "\b", "123,467.0",
     6},
    {"BackspaceKeepsCaretBeforeDigit", ntFloatNumber, NonNegative, false, "", "12,345.0", 3, 0, 0, "\b", "1,345.0", 2},
    {"LastIntegerDigitKeptAsZero", ntFloatNumber, NonNegative, false, "", "5.0", 2, 0, 0, "\b", "0.0", 1},
    {"SelectedDigitDeletedKeptAsZero", ntFloatNumber, NonNegative, false, "", "5.0", 2, 1, 1, "\x7f", "0.0", 3},
    {"SeparatorWithOthersDeletedComesBack", ntFloatNumber, NonNegative, false, "", "12.5", 5, 2, 3, "\x7f", "1.0", 2},
    {"OverwriteJumpsTheSeparator", ntFloatNumber, NonNegative, true, "", "12.0", 3, 0, 0, "5", "12.5", 5},
    {"FixedKeepsSeparator", ntFloatFixed, NonNegative, false, "", "12.5", 4, 0, 0, "\b", "12.5", 3},
    {"FloatTakesOneSeparator", ntFloat, NonNegative, false, "", "12", 3, 0, 0, "..", "12.", 4},
    {"IntegerZeroGivesWay", ntInteger, NonNegative, false, "", "0", 2, 0, 0, "7", "7", 2},
    {"IntegerRefusesAllButDigits", ntInteger, NonNegative, false, "", "12", 3, 0, 0, "a.,x +", "12", 3},
    {"IntegerMinusToggles", ntInteger, Signed, false, "", "12", 1, 0, 0, "-", "-12", 2},
    {"IntegerZeroAfterSign", ntInteger, Signed, false, "", "-0", 3, 0, 0, "7", "-7", 3},
    {"IntegerMinusClamped", ntInteger, NonNegative, false, "", "12", 2, 0, 0, "-", "0", 2},
    {"SuffixTakesNoDigit", ntInteger, NonNegative, false, " V", "12 V", 5, 0, 0, "3", "12 V", 5},
    {"DigitBeforeSuffix", ntInteger, NonNegative, false, " V", "12 V", 3, 0, 0, "3", "123 V", 4},
    {"BackspaceInSuffixRemovesDigit", ntInteger, NonNegative, false, " V", "12 V", 5, 0, 0, "\b", "1 V", 2},
    {"DeleteBeforeSuffixDoesNothing", ntInteger, NonNegative, false, " V", "12 V", 3, 0, 0, "\x7f", "12 V", 3},
    {"SelectionIntoSuffixShortened", ntFloatNumber, NonNegative, false, " V", "12.5 V", 4, 4, 3, "\x7f", "12.0 V", 4},
};

class TypingFilter : public ::testing::TestWithParam<bool> {
protected:
    TypingFilter() : format_(Comma() ? QChar(',') : QChar('.'), Comma() ? QChar('.') : QChar(',')) {}
    static bool Comma() { return GetParam(); }
    static QString Local(const char* dotText)
    {
        QString s = QString::fromLatin1(dotText);
        if (Comma()) {
            for (QChar& c : s)
                c = c == '.' ? QChar(',') : c == ',' ? QChar('.') : c;
        }
        return s;
    }
    // An edit built after the format is installed, so it captures this format's separators.
    static void SetUp(TVelExtSpinEdit& e, const Row& r)
    {
        e.SetMaxValue(1e9);
        e.SetMinValue(r.Range == Signed ? -1e9 : 0.0);
        e.SetEditType(r.Type);
        e.SetSuffix(QString::fromLatin1(r.Suffix));
        e.SetText(Local(r.Start));
        e.SetCursorPos(r.Caret);
        if (r.SelLength > 0) {
            e.SetSelStart(r.SelStart);
            e.SetSelLength(r.SelLength);
        }
    }

    ScopedFormat format_;
    MessageBoxCatcher boxes_;
};

INSTANTIATE_TEST_SUITE_P(Locales, TypingFilter, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Comma" : "Dot"; });

TEST_P(TypingFilter, KeysGiveTextAndCaret)
{
    for (const Row& r : Rows) {
        OverwriteMode overwrite(r.Overwrite);
        TVelExtSpinEdit e;
        SetUp(e, r);
        ASSERT_EQ(S(e.Text()), S(Local(r.Start))) << r.Name;
        Press(e, Local(r.Keys));
        EXPECT_EQ(S(e.Text()), S(Local(r.Text))) << r.Name;
        EXPECT_EQ(e.CursorPos(), r.CaretAfter) << r.Name;
        EXPECT_EQ(e.SelLength(), 0) << r.Name;
    }
}

TEST_P(TypingFilter, RefusedCharacterFiresOnlyKeyPress)
{
    OverwriteMode insert(false);
    TVelExtSpinEdit e;
    SetUp(e, {"", ntFloatNumber, NonNegative, false, "", "12.0", 2, 0, 0, "", "", 0});
    EventLog log(e);
    QStringList pressed;
    e.OnKeyPress = [&](QObject*, QChar& c) { pressed << QString(c); };
    Press(e, Local("a ,"));
    EXPECT_EQ(pressed, QStringList({"A", " ", Local(",")}));
    EXPECT_TRUE(log.Take().isEmpty());
    EXPECT_EQ(e.UndoCount(), 0);

    // The sign is consumed by the toggle: no key press, but the change events of the new text.
    e.SetMinValue(-100.0);
    Press(e, "-");
    EXPECT_EQ(pressed.size(), 3);
    EXPECT_EQ(S(e.Text()), S(Local("-12.0")));
    EXPECT_GE(log.Count("change"), 1);
}

TEST_P(TypingFilter, LockedEditKeepsItsZero)
{
    OverwriteMode insert(false);
    for (int locked = 0; locked < 2; ++locked) {
        TVelExtSpinEdit e;
        SetUp(e, {"", ntFloatNumber, Signed, false, "", "0.0", 1, 0, 0, "", "", 0});
        if (locked)
            e.SetReadOnly(true);
        else
            e.SetEditorEnabled(false);
        Press(e, Local("7-\b\x7f"));
        EXPECT_EQ(S(e.Text()), S(Local("0.0"))) << locked;
    }
}

TEST_P(TypingFilter, LoneMinusTypedLeavesAsZero)
{
    OverwriteMode insert(false);
    TVelExtSpinEdit e;
    SetUp(e, {"", ntFloat, Signed, false, "", "0", 1, 1, 1, "", "", 0});
    Press(e, "-");
    ASSERT_EQ(S(e.Text()), S("-"));
    e.Perform(WM_KILLFOCUS);
    EXPECT_EQ(S(e.Text()), S("0"));
    EXPECT_EQ(e.Value(), 0.0);
}

TEST(TypingFilterSeparators, CapturedAtConstructionNotFollowingLaterChanges)
{
    MessageBoxCatcher boxes;
    OverwriteMode insert(false);
    TVelExtSpinEdit e;
    e.SetEditType(ntFloat);
    e.SetText("12");
    e.SetCursorPos(3);
    ScopedFormat later(QChar(','), QChar('.'));
    Press(e, ",");
    EXPECT_EQ(S(e.Text()), S("12")) << "the comma is the captured thousand separator";
    Press(e, ".");
    EXPECT_EQ(S(e.Text()), S("12."));
}

} // namespace
