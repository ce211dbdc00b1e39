#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ScopedFormat.h"
#include "VelNumberText.h"

namespace {

using S = TVelNumberStyle;

struct FormatRow {
    const char* Name;
    TVelExtended X;
    int Places;
    S Style;
    int MinFraction;
    const char* Dot;   // with "." and ","
    const char* Comma; // with "," and "."
    friend void PrintTo(const FormatRow& Row, std::ostream* Os) { *Os << Row.Name; }
};

class FormatNumberTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumberTest, WritesTheTextOfBothLocales)
{
    const FormatRow& r = GetParam();
    {
        ScopedFormat f('.', ',');
        EXPECT_EQ(FormatNumber(r.X, r.Places, r.Style, r.MinFraction), QString::fromUtf8(r.Dot));
    }
    {
        ScopedFormat f(',', '.');
        EXPECT_EQ(FormatNumber(r.X, r.Places, r.Style, r.MinFraction), QString::fromUtf8(r.Comma));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatNumberTest,
    ::testing::Values(FormatRow{"ZeroGrouped", 0.0, 1, S::Grouped, 1, "0.0", "0,0"},
                      FormatRow{"RoundsDown", 12.34, 1, S::Grouped, 1, "12.3", "12,3"},
                      FormatRow{"RoundsUp", 12.36, 1, S::Grouped, 1, "12.4", "12,4"},
                      FormatRow{"ExactTieAwayFromZero", 1.25, 1, S::Grouped, 1, "1.3", "1,3"},
                      FormatRow{"DoubleJustBelowTie", 12.35, 1, S::Grouped, 1, "12.3", "12,3"},
                      FormatRow{"Million", 1000000.0, 1, S::Grouped, 1, "1,000,000.0", "1.000.000,0"},
                      FormatRow{"MillionThreeDecimals", 1000000.0, 3, S::Grouped, 3, "1,000,000.000", "1.000.000,000"},
                      FormatRow{"SevenDigits", 1234567.5, 1, S::Grouped, 1, "1,234,567.5", "1.234.567,5"},
                      FormatRow{"NegativeNoSeparatorAfterSign", -123.5, 1, S::Grouped, 1, "-123.5", "-123,5"},
                      FormatRow{"NegativeGrouped", -1234.5, 1, S::Grouped, 1, "-1,234.5", "-1.234,5"},
                      FormatRow{"NegativeSixDigits", -123456.5, 1, S::Grouped, 1, "-123,456.5", "-123.456,5"},
                      FormatRow{"TwoDecimalsRounded", 123456.789, 2, S::Grouped, 2, "123,456.79", "123.456,79"},
                      FormatRow{"GroupedNoDecimals", 1234567.0, 0, S::Grouped, 0, "1,234,567", "1.234.567"},
                      FormatRow{"CarryIntoNewDigit", 999.96, 1, S::Grouped, 1, "1,000.0", "1.000,0"},
                      FormatRow{"TrimmedHalf", 2.5, 3, S::Trimmed, 3, "2.5", "2,5"},
                      FormatRow{"TrimmedWhole", 2.0, 3, S::Trimmed, 3, "2", "2"},
                      FormatRow{"TrimmedTen", 10.0, 1, S::Trimmed, 1, "10", "10"},
                      FormatRow{"TrimmedZero", 0.0, 2, S::Trimmed, 2, "0", "0"},
                      FormatRow{"TrimmedNoDecimals", 7.6, 0, S::Trimmed, 0, "8", "8"},
                      FormatRow{"PaddedGetsMinimum", 5.0, 0, S::Padded, 1, "5.0", "5,0"},
                      FormatRow{"PaddedNoMinimum", 5.0, 0, S::Padded, 0, "5", "5"},
                      FormatRow{"PaddedKeepsPlaces", 1.5, 3, S::Padded, 1, "1.500", "1,500"},
                      FormatRow{"SmallNegativeLosesSign", -0.04, 1, S::Padded, 1, "0.0", "0,0"},
                      FormatRow{"SmallNegativeRoundsAway", -0.05, 1, S::Padded, 1, "-0.1", "-0,1"},
                      FormatRow{"NegativeZero", -0.0, 1, S::Grouped, 1, "0.0", "0,0"},
                      FormatRow{"FarBelowPlaces", 0.0004, 2, S::Padded, 1, "0.00", "0,00"},
                      FormatRow{"LeadingFractionZeros", 0.012, 3, S::Padded, 1, "0.012", "0,012"},
                      FormatRow{"EighteenDigitsStayFixed", 123456789012345678LL, 0, S::Grouped, 0,
                                "123,456,789,012,345,678", "123.456.789.012.345.678"},
                      FormatRow{"ExponentFormUnstyled", 1e18, 1, S::Grouped, 1, "1E18", "1E18"},
                      FormatRow{"ExponentFormNotTrimmed", 1.5e20, 1, S::Trimmed, 1, "1.5E20", "1,5E20"},
                      FormatRow{"ExponentFormNotPadded", 1e20, 0, S::Padded, 1, "1E20", "1E20"},
                      FormatRow{"Infinity", std::numeric_limits<double>::infinity(), 1, S::Grouped, 1, "INF", "INF"},
                      FormatRow{"NotANumber", std::numeric_limits<double>::quiet_NaN(), 1, S::Trimmed, 1, "NAN",
                                "NAN"}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(FormatNumber, NoGroupingWhenTheThousandSeparatorIsNone)
{
    ScopedFormat f('.', QChar());
    EXPECT_EQ(FormatNumber(1234567.5, 1, S::Grouped, 1), "1234567.5");
}

TEST(IntegerValueText, TruncatesAndKeepsTheLow32Bits)
{
    const struct {
        double X;
        const char* Text;
    } rows[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {2.9, "2"},
        {-2.9, "-2"},
        {2147483647.0, "2147483647"},
        {2147483648.0, "-2147483648"},
        {4294967301.0, "5"},
        {-4294967301.0, "-5"},
        {1e30, "0"}, // a multiple of 2^47
        {std::numeric_limits<double>::infinity(), "0"},
        {std::numeric_limits<double>::quiet_NaN(), "0"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(IntegerValueText(r.X), r.Text) << r.X;
}

TEST(TextWithoutSuffix, RemovesOnlyTheFirstOccurrence)
{
    EXPECT_EQ(TextWithoutSuffix("12 V", " V"), "12");
    EXPECT_EQ(TextWithoutSuffix("12 V V", " V"), "12 V");
    EXPECT_EQ(TextWithoutSuffix("12", " V"), "12");
    EXPECT_EQ(TextWithoutSuffix("12", ""), "12");
}

TEST(ParseInt64, AcceptsSignAndDigitsOnly)
{
    const struct {
        const char* Text;
        std::optional<qint64> Value;
    } rows[] = {
        {"-", 0},
        {"0", 0},
        {"-0", 0},
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775809", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"--1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1a", std::nullopt},
        {"1.5", std::nullopt},
        {"\uFF11", std::nullopt}, // a digit, but not an ASCII one
    };
    for (const auto& r : rows)
        EXPECT_EQ(ParseInt64(QString::fromUtf8(r.Text)), r.Value) << r.Text;
}

TEST(ReadIntegerText, RangeIsSymmetric)
{
    const struct {
        const char* Text;
        qint32 Value;
        bool Failed;
    } rows[] = {
        {"", 0, false},
        {"-", 0, false},
        {"42", 42, false},
        {"-42", -42, false},
        {"2147483647", 2147483647, false},
        {"-2147483647", -2147483647, false},
        {"-2147483648", 0, true},
        {"2147483648", 0, true},
        {"99999999999999999999", 0, true},
        {"12a", 0, true},
        {"1,000", 0, true},
    };
    for (const auto& r : rows) {
        const TVelIntegerRead read = ReadIntegerText(r.Text);
        EXPECT_EQ(read.Value, r.Value) << r.Text;
        EXPECT_EQ(read.Failed, r.Failed) << r.Text;
    }
}

struct FloatRow {
    const char* Text;
    int Cut;
    double Value;
    bool Failed;
};

TEST(ReadFloatText, DotLocale)
{
    const FloatRow rows[] = {
        {"", -1, 0, false},
        {"-", -1, 0, false},
        {".5", -1, 0, false},
        {"0.0", 1, 0, false},
        {"12.5", 1, 12.5, false},
        {"-3.5", -1, -3.5, false},
        {"-0.5", -1, -0.5, false},
        {"-.5", -1, -0.5, false},
        {"1,234.5", 1, 1234.5, false},
        {"-1,234.5", 1, -1234.5, false},
        {"1.25", 1, 1.2, false},
        {"1.29", 1, 1.2, false},
        {"12.35", 1, 12.3, false},
        {"5.7", 0, 5, false},
        {"1.23456", -1, 1.23456, false},
        {"1.", -1, 1, false},
        {"1.2.3", 1, 1.2, false},
        {"1.A", -1, 1, false},
        {"abc", -1, 0, true},
        {"12x.5", -1, 0, true},
        {"99999999999999999999.5", -1, 0, true},
    };
    for (const FloatRow& r : rows) {
        const TVelFloatRead read = ReadFloatText(r.Text, r.Cut, '.', ',');
        EXPECT_DOUBLE_EQ(double(read.Value), r.Value) << r.Text;
        EXPECT_EQ(read.Failed, r.Failed) << r.Text;
    }
}

TEST(ReadFloatText, CommaLocale)
{
    const FloatRow rows[] = {
        {"1.234,5", 1, 1234.5, false}, {"-0,5", 1, -0.5, false}, {",5", 1, 0, false},
        {"12,35", 1, 12.3, false},     {"12.5", -1, 125, false}, // "." is a thousand separator here
    };
    for (const FloatRow& r : rows) {
        const TVelFloatRead read = ReadFloatText(r.Text, r.Cut, ',', '.');
        EXPECT_DOUBLE_EQ(double(read.Value), r.Value) << r.Text;
        EXPECT_EQ(read.Failed, r.Failed) << r.Text;
    }
}

TEST(ReadFloatText, MinusZeroKeepsItsSign)
{
    EXPECT_TRUE(std::signbit(double(ReadFloatText("-0", -1, '.', ',').Value)));
}

} // namespace
