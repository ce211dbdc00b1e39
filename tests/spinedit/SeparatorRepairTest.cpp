// A number edit's text stored under one locale and loaded under another: after loading, the
// separator before the fraction is the current locale's, so the text reads as the same number.
#include <gtest/gtest.h>

#include "RowNames.h"
#include "ScopedFormat.h"
#include "SpinEditProbe.h"
#include "VelExtSpinEdit.h"

namespace {

struct RepairCase {
    const char* name;
    char stored; // the decimal separator the text was stored with; the thousand one is the other
    TVelNumberType type;
    int decimals;
    const char* text;   // as stored
    const char* loaded; // as shown after loading under the other locale
    double value;
    friend void PrintTo(const RepairCase& Row, std::ostream* Os) { *Os << Row.name; }
};

TFormatSettings Separators(char decimal)
{
    TFormatSettings s = FormatSettings();
    s.DecimalSeparator = QChar(decimal);
    s.ThousandSeparator = QChar(decimal == '.' ? ',' : '.');
    s.MonetaryThousandSeparator = s.ThousandSeparator;
    return s;
}

class SeparatorRepair : public ::testing::TestWithParam<RepairCase> {};

TEST_P(SeparatorRepair, LoadedTextUsesTheCurrentDecimalSeparator)
{
    const RepairCase& c = GetParam();
    ScopedFormat format(Separators(c.stored));
    MessageBoxCatcher boxes;
    TVelExtSpinEdit e;
    EventLog log(e);
    // The properties arrive as they were stored; the locale in force has the other separator by
    // the time loading completes.
    e.BeginLoading();
    e.SetMaxValue(1000000.0);
    e.SetMinValue(-1000000.0);
    e.SetEditType(c.type);
    e.SetDecimals(c.decimals);
    e.SetText(QString::fromLatin1(c.text));
    ASSERT_EQ(e.Text(), QString::fromLatin1(c.text));
    log.Take();
    SetFormatSettings(Separators(c.stored == '.' ? ',' : '.'));
    e.Loaded();
    EXPECT_EQ(e.Text(), QString::fromLatin1(c.loaded));
    EXPECT_DOUBLE_EQ(e.Value(), c.value) << "the value is read back from the repaired text";
    // The repair belongs to loading: the value may follow the text, but no change event fires.
    const QStringList events = log.Take();
    EXPECT_FALSE(events.contains("change")) << events.join("; ").toStdString();
    EXPECT_FALSE(events.filter("textchangedat").size()) << events.join("; ").toStdString();
    EXPECT_TRUE(boxes.Shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SeparatorRepair,
    ::testing::Values(RepairCase{"CommaReadUnderDot", ',', ntFloatNumber, 1, "12,5", "12.5", 12.5},
                      RepairCase{"DotReadUnderComma", '.', ntFloatNumber, 1, "12.5", "12,5", 12.5},
                      RepairCase{"NegativeCommaUnderDot", ',', ntFloatNumber, 2, "-0,25", "-0.25", -0.25},
                      RepairCase{"FloatKindDotUnderComma", '.', ntFloat, 3, "3.125", "3,125", 3.125},
                      RepairCase{"FixedKindCommaUnderDot", ',', ntFloatFixed, 2, "7,50", "7.50", 7.5},
                      RepairCase{"GroupedCommaUnderDot", ',', ntFloatNumber, 1, "1.234,5", "1,234.5", 1234.5},
                      RepairCase{"WholeNumberUnderDot", ',', ntFloatNumber, 1, "125,0", "125.0", 125}),
    RowName());

} // namespace
