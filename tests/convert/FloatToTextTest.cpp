#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include "FloatToText.h"
#include "ExtendedSupport.h"
#include "RowNames.h"
#include "ScopedFormat.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
const TVelExtended kLargest = TVelExtended::FromBits({0xFFFFFFFFFFFFFFFFULL, 0x7FFE});
const TVelExtended kSmallestNormal = TVelExtended::FromBits({0x8000000000000000ULL, 0x0001});
const TVelExtended kSmallestDenormal = TVelExtended::FromBits({1, 0});

// ---------------------------------------------------------------------------------------------
// General text, "." separator

struct GeneralRow {
    const char* name;
    double value;
    const char* text;
    friend void PrintTo(const GeneralRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class GeneralTextTest : public ::testing::TestWithParam<GeneralRow> {};

TEST_P(GeneralTextTest, WritesText)
{
    EXPECT_EQ(FloatToGeneralText(GetParam().value), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeneralTextTest,
    ::testing::Values(
        GeneralRow{"Zero", 0.0, "0"}, GeneralRow{"NegativeZero", -0.0, "0"}, GeneralRow{"One", 1.0, "1"},
        GeneralRow{"Half", 0.5, "0.5"}, GeneralRow{"Fraction", 1234.5, "1234.5"}, GeneralRow{"Hundred", 100.0, "100"},
        GeneralRow{"NegativeHalves", -2.5, "-2.5"}, GeneralRow{"OneThousandth", 0.001, "0.001"},
        GeneralRow{"LastFixedSmall", 0.0001, "0.0001"}, GeneralRow{"FirstExponentSmall", 0.00001, "1E-5"},
        GeneralRow{"NegativeExponentSmall", -0.00001, "-1E-5"}, GeneralRow{"SmallWithDigits", 0.000012345, "1.2345E-5"},
        GeneralRow{"CarryBackIntoFixed", 9.999999999999999e-5, "0.0001"},
        GeneralRow{"JustBelowFixedBorder", 9.9999999999999e-5, "9.9999999999999E-5"},
        GeneralRow{"FifteenNines", 999999999999999.0, "999999999999999"},
        GeneralRow{"SixteenDigits", 1000000000000000.0, "1E15"},
        GeneralRow{"NegativeSixteenDigits", -1000000000000000.0, "-1E15"},
        GeneralRow{"CarryIntoSixteenthDigit", 999999999999999.9, "1E15"},
        GeneralRow{"RoundsFifteenthDigit", 123456789012345.6, "123456789012346"},
        GeneralRow{"TieAwayFromZero", 100000000000000.5, "100000000000001"},
        GeneralRow{"NegativeTieAwayFromZero", -100000000000000.5, "-100000000000001"},
        GeneralRow{"SixteenDigitsRounded", 4503599627370495.5, "4.5035996273705E15"},
        GeneralRow{"Third", 1.0 / 3.0, "0.333333333333333"}, GeneralRow{"TwoThirds", 2.0 / 3.0, "0.666666666666667"},
        GeneralRow{"PointOnePlusPointTwo", 0.1 + 0.2, "0.3"}, GeneralRow{"OneAndAnUlp", 1.0000000000000002, "1"},
        GeneralRow{"JustBelowPowerOfTen", 1e23, "1E23"}, GeneralRow{"Googol", 1e100, "1E100"},
        GeneralRow{"TinyWithDigits", 1.5e-300, "1.5E-300"},
        GeneralRow{"SmallestSubnormal", 4.9406564584124654e-324, "4.94065645841247E-324"},
        GeneralRow{"LargestSubnormal", 2.2250738585072009e-308, "2.2250738585072E-308"},
        GeneralRow{"SmallestNormal", DBL_MIN, "2.2250738585072E-308"},
        GeneralRow{"Largest", DBL_MAX, "1.79769313486232E308"},
        GeneralRow{"NegativeLargest", -DBL_MAX, "-1.79769313486232E308"},
        // Binary exponents -681 and -877 are where a log10(2) estimate overshoots the decimal
        // exponent by one; the digits must still start with a non-zero one.
        GeneralRow{"ExponentEstimateHighAt681", 9.99e-206, "9.99E-206"},
        GeneralRow{"ExponentEstimateHighAt877", 9.95e-265, "9.95E-265"},
        GeneralRow{"ExponentEstimateLowAt681", 1.5e205, "1.5E205"}, GeneralRow{"Infinity", kInf, "INF"},
        GeneralRow{"NegativeInfinity", -kInf, "-INF"}, GeneralRow{"NotANumber", kNan, "NAN"},
        GeneralRow{"NegativeNotANumber", -kNan, "NAN"}),
    RowName());

// ---------------------------------------------------------------------------------------------
// General text follows the separator installed at the time of the call

struct SeparatorRow {
    const char* name;
    char16_t separator;
    double value;
    const char16_t* text;
    friend void PrintTo(const SeparatorRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class GeneralTextSeparatorTest : public ::testing::TestWithParam<SeparatorRow> {};

TEST_P(GeneralTextSeparatorTest, UsesCurrentSeparator)
{
    ScopedFormat format(QChar(GetParam().separator), QChar(u'.'));
    EXPECT_EQ(FloatToGeneralText(GetParam().value), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, GeneralTextSeparatorTest,
                         ::testing::Values(SeparatorRow{"CommaFraction", u',', 1234.5, u"1234,5"},
                                           SeparatorRow{"CommaExponent", u',', 0.000012345, u"1,2345E-5"},
                                           SeparatorRow{"CommaBelowOne", u',', 0.0001, u"0,0001"},
                                           SeparatorRow{"CommaInteger", u',', 1234.0, u"1234"},
                                           SeparatorRow{"CommaNegative", u',', -2.5, u"-2,5"},
                                           SeparatorRow{"ArabicSeparator", u'\u066B', 1234.5, u"1234\u066B5"}),
                         RowName());

TEST(GeneralTextSeparator, ReadsSettingsAtEachCall)
{
    EXPECT_EQ(FloatToGeneralText(0.5), QStringLiteral("0.5"));
    {
        ScopedFormat format(QChar(u','), QChar(u'.'));
        EXPECT_EQ(FloatToGeneralText(0.5), QStringLiteral("0,5"));
    }
    EXPECT_EQ(FloatToGeneralText(0.5), QStringLiteral("0.5"));
}

// ---------------------------------------------------------------------------------------------
// Decimal form

struct DecimalRow {
    const char* name;
    TVelExtended value;
    int precision;
    int decimals;
    int exponent;
    bool negative;
    const char* digits;
    friend void PrintTo(const DecimalRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class FloatToDecimalTest : public ::testing::TestWithParam<DecimalRow> {};

TEST_P(FloatToDecimalTest, Converts)
{
    const DecimalRow& row = GetParam();
    const TFloatRec rec = FloatToDecimal(row.value, row.precision, row.decimals);
    EXPECT_EQ(rec.Exponent, row.exponent);
    EXPECT_EQ(rec.Negative, row.negative);
    EXPECT_STREQ(rec.Digits, row.digits);
}

constexpr int kAll = 9999;

INSTANTIATE_TEST_SUITE_P(
    Table, FloatToDecimalTest,
    ::testing::Values(
        DecimalRow{"Zero", 0.0, 15, kAll, 0, false, ""}, DecimalRow{"NegativeZero", -0.0, 15, kAll, 0, false, ""},
        DecimalRow{"Negative", -2.5, 15, kAll, 1, true, "25"}, DecimalRow{"BelowOne", 0.001, 15, kAll, -2, false, "1"},
        DecimalRow{"AllEighteenDigits", 123.456, 18, kAll, 3, false, "123456000000000003"},
        DecimalRow{"PrecisionBelowOneTakenAsOne", 0.25, 0, kAll, 0, false, "3"},
        DecimalRow{"PrecisionAboveEighteenTakenAsEighteen", 0.1, 40, kAll, 0, false, "100000000000000006"},
        DecimalRow{"DecimalsLimitDigits", 1234.5678, 15, 2, 4, false, "123457"},
        DecimalRow{"DecimalsCarryIntoNewDigit", 999.9, 15, 0, 4, false, "1"},
        DecimalRow{"RoundedAwayKeepsExponent", 0.4, 15, 0, 0, false, ""},
        DecimalRow{"RoundedAwayDropsSign", -0.004, 15, 2, -2, false, ""},
        DecimalRow{"RoundsUpToFirstDecimal", -0.005, 15, 2, -1, true, "1"},
        DecimalRow{"BeyondDecimalsIsZero", -0.0004, 15, 2, 0, false, ""},
        DecimalRow{"HugeDecimalsDoNotOverflow", 1.5, 15, INT_MAX, 1, false, "15"},
        DecimalRow{"HugeNegativeDecimalsGiveZero", 1.5, 15, INT_MIN, 0, false, ""},
        DecimalRow{"BeyondDoubleRange", ExtendedSupport::FromText("1e4000"), 15, kAll, 4001, false, "1"},
        DecimalRow{"BelowDoubleRange", ExtendedSupport::FromText("-1.25e-4000"), 15, kAll, -3999, true, "125"},
        DecimalRow{"LargestExtended", kLargest, 15, kAll, 4933, false, "118973149535723"},
        DecimalRow{"SmallestNormalExtended", kSmallestNormal, 15, kAll, -4931, false, "336210314311209"},
        // Extended denormals are below anything a double can hold; they read as zero.
        DecimalRow{"ExtendedDenormalIsZero", kSmallestDenormal, 15, kAll, 0, false, ""},
        DecimalRow{"Infinity", kInf, 15, kAll, 32767, false, ""},
        DecimalRow{"NegativeInfinity", -kInf, 15, kAll, 32767, true, ""},
        DecimalRow{"NotANumberIsUnsigned", -kNan, 15, kAll, -32768, false, ""}),
    RowName());

// ---------------------------------------------------------------------------------------------
// The other formats

struct FormatRow {
    const char* name;
    TVelExtended value;
    TFloatFormat format;
    int precision;
    int digits;
    const char16_t* text;
    friend void PrintTo(const FormatRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class FloatToTextFmtTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FloatToTextFmtTest, Formats)
{
    const FormatRow& row = GetParam();
    EXPECT_EQ(FloatToTextFmt(row.value, row.format, row.precision, row.digits, TFormatSettings{}),
              QString::fromUtf16(row.text));
}

using F = TFloatFormat;

INSTANTIATE_TEST_SUITE_P(
    Table, FloatToTextFmtTest,
    ::testing::Values(FormatRow{"GeneralMinimumExponentDigits", 0.00001, F::General, 15, 2, u"1E-05"},
                      FormatRow{"GeneralExponentDigitsAboveFourIgnored", 1e20, F::General, 15, 5, u"1E20"},
                      FormatRow{"GeneralPrecisionMovesExponentBorder", 12345.0, F::General, 4, 0, u"1.235E4"},
                      FormatRow{"GeneralWithinPrecision", 1234.0, F::General, 4, 0, u"1234"},
                      FormatRow{"GeneralShortPrecisionSmall", 0.00012345, F::General, 4, 0, u"0.0001234"},
                      FormatRow{"GeneralEighteenDigits", 0.1, F::General, 18, 0, u"0.100000000000000006"},
                      FormatRow{"GeneralPrecisionClampedToTwo", 0.256, F::General, 1, 0, u"0.26"},

                      FormatRow{"ExponentPadsDigits", 1234.5, F::Exponent, 4, 2, u"1.235E+03"},
                      FormatRow{"ExponentZero", 0.0, F::Exponent, 4, 2, u"0.000E+00"},
                      FormatRow{"ExponentNegativeSmall", -0.00012345, F::Exponent, 3, 0, u"-1.23E-4"},
                      FormatRow{"ExponentCarry", 9.99, F::Exponent, 2, 0, u"1.0E+1"},
                      FormatRow{"ExponentFourDigits", 1.0, F::Exponent, 2, 4, u"1.0E+0000"},
                      FormatRow{"ExponentDigitsAboveFourIgnored", 1.0, F::Exponent, 2, 9, u"1.0E+0"},
                      FormatRow{"ExponentLarge", 1e100, F::Exponent, 15, 0, u"1.00000000000000E+100"},
                      FormatRow{"ExponentPrecisionClamped", 1.5, F::Exponent, 30, 0, u"1.50000000000000000E+0"},
                      FormatRow{"ExponentInfinity", kInf, F::Exponent, 15, 2, u"INF"},

                      FormatRow{"FixedPadsDecimals", 1234.5, F::Fixed, 15, 2, u"1234.50"},
                      FormatRow{"FixedNoDecimalsRoundsAway", 1234.5, F::Fixed, 15, 0, u"1235"},
                      FormatRow{"FixedNegativeRoundsAway", -1234.5, F::Fixed, 15, 0, u"-1235"},
                      FormatRow{"FixedHalfToOne", 0.5, F::Fixed, 15, 0, u"1"},
                      FormatRow{"FixedBelowHalfToZero", 0.4, F::Fixed, 15, 0, u"0"},
                      FormatRow{"FixedZero", 0.0, F::Fixed, 15, 3, u"0.000"},
                      FormatRow{"FixedNegativeRoundedToZeroUnsigned", -0.004, F::Fixed, 15, 2, u"0.00"},
                      FormatRow{"FixedNegativeRoundedUp", -0.005, F::Fixed, 15, 2, u"-0.01"},
                      FormatRow{"FixedLeadingZeros", 0.000123, F::Fixed, 15, 5, u"0.00012"},
                      FormatRow{"FixedBeyondDecimals", 0.000123, F::Fixed, 15, 2, u"0.00"},
                      FormatRow{"FixedDoubleBelowHalf", 12.35, F::Fixed, 18, 1, u"12.3"},
                      FormatRow{"FixedDoubleAboveHalf", 0.05, F::Fixed, 18, 1, u"0.1"},
                      FormatRow{"FixedEighteenDigitsPadded", 123.456, F::Fixed, 18, 18, u"123.456000000000003000"},
                      FormatRow{"FixedPrecisionLimitsDigits", 1.0 / 3, F::Fixed, 4, 6, u"0.333300"},
                      FormatRow{"FixedNegativeDecimalsAsZero", 1.5, F::Fixed, 15, -3, u"2"},
                      FormatRow{"FixedDecimalsClampedToEighteen", 1.5, F::Fixed, 15, 25, u"1.500000000000000000"},
                      FormatRow{"FixedAtPrecision", 999999999999999.0, F::Fixed, 15, 2, u"999999999999999.00"},
                      FormatRow{"FixedBeyondPrecisionIsGeneral", 1e15, F::Fixed, 15, 2, u"1E15"},
                      FormatRow{"FixedInfinity", -kInf, F::Fixed, 15, 2, u"-INF"},
                      FormatRow{"FixedNotANumber", kNan, F::Fixed, 15, 2, u"NAN"},

                      FormatRow{"NumberGroups", 1234567.5, F::Number, 15, 1, u"1,234,567.5"},
                      FormatRow{"NumberNegativeShort", -123.5, F::Number, 15, 1, u"-123.5"},
                      FormatRow{"NumberNegativeGroups", -123456.0, F::Number, 15, 0, u"-123,456"},
                      FormatRow{"NumberMillion", 1000000.0, F::Number, 15, 3, u"1,000,000.000"},
                      FormatRow{"NumberCarryAddsGroup", 999.9, F::Number, 15, 0, u"1,000"},
                      FormatRow{"NumberFifteenDigits", 123456789012345.0, F::Number, 15, 0, u"123,456,789,012,345"},
                      FormatRow{"NumberBelowOne", 0.25, F::Number, 15, 1, u"0.3"},
                      FormatRow{"NumberBeyondPrecisionIsGeneral", 1e20, F::Number, 15, 2, u"1E20"},
                      FormatRow{"NumberNotANumber", kNan, F::Number, 15, 2, u"NAN"},

                      FormatRow{"CurrencyDefaultPattern", 1234.5, F::Currency, 15, 2, u"$1,234.50"},
                      FormatRow{"CurrencyNegativeDefaultPattern", -1234.5, F::Currency, 15, 2, u"($1,234.50)"},
                      FormatRow{"CurrencyRoundedToZeroIsPositive", -0.001, F::Currency, 15, 2, u"$0.00"},
                      FormatRow{"CurrencyBeyondPrecisionIsGeneral", -1e20, F::Currency, 15, 2, u"-1E20"},
                      FormatRow{"CurrencyInfinity", kInf, F::Currency, 15, 2, u"INF"}),
    RowName());

TEST(FloatToTextFmtSettings, CommaDecimalAndDotThousands)
{
    TFormatSettings fs;
    fs.DecimalSeparator = QChar(u',');
    fs.ThousandSeparator = QChar(u'.');
    fs.CurrencyString = QStringLiteral("EUR");
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    EXPECT_EQ(FloatToTextFmt(1234.0, F::Number, 15, 2, fs), QStringLiteral("1.234,00"));
    EXPECT_EQ(FloatToTextFmt(1234.5, F::Fixed, 15, 1, fs), QStringLiteral("1234,5"));
    EXPECT_EQ(FloatToTextFmt(0.000012345, F::General, 15, 0, fs), QStringLiteral("1,2345E-5"));
    EXPECT_EQ(FloatToTextFmt(1234.5, F::Exponent, 4, 2, fs), QStringLiteral("1,235E+03"));
    EXPECT_EQ(FloatToTextFmt(1234567.891, F::Currency, 15, 2, fs), QStringLiteral("1.234.567,89 EUR"));
    EXPECT_EQ(FloatToTextFmt(-1234567.891, F::Currency, 15, 2, fs), QStringLiteral("-1.234.567,89 EUR"));
}

TEST(FloatToTextFmtSettings, NoGroupingWithNulThousandSeparator)
{
    TFormatSettings fs;
    fs.ThousandSeparator = QChar();
    EXPECT_EQ(FloatToTextFmt(12345.0, F::Number, 15, 1, fs), QStringLiteral("12345.0"));
    EXPECT_EQ(FloatToTextFmt(12345.0, F::Currency, 15, 0, fs), QStringLiteral("$12345"));
}

TEST(FloatToTextFmtSettings, NonLatinSeparators)
{
    TFormatSettings fs;
    fs.DecimalSeparator = QChar(u',');
    fs.ThousandSeparator = QChar(0x00A0);
    EXPECT_EQ(FloatToTextFmt(-1234567.25, F::Number, 15, 2, fs), QString::fromUtf16(u"-1\u00A0234\u00A0567,25"));
}

TEST(FloatToTextFmtSettings, UsesGivenSettingsNotGlobal)
{
    ScopedFormat global(QChar(u','), QChar(u'.'));
    EXPECT_EQ(FloatToTextFmt(1.5, F::Fixed, 15, 1, TFormatSettings{}), QStringLiteral("1.5"));
    EXPECT_EQ(FloatToTextFmt(1.5, F::Fixed, 15, 1), QStringLiteral("1,5"));
}

// ---------------------------------------------------------------------------------------------
// Currency patterns: every code, with a symbol of more than one character

struct CurrencyRow {
    const char* name;
    int positiveCode;
    int negativeCode;
    TVelExtended value;
    const char16_t* text;
    friend void PrintTo(const CurrencyRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class CurrencyPatternTest : public ::testing::TestWithParam<CurrencyRow> {};

TEST_P(CurrencyPatternTest, PlacesSymbolAndNumber)
{
    const CurrencyRow& row = GetParam();
    TFormatSettings fs;
    fs.CurrencyString = QString::fromUtf16(u"\u20AC");
    fs.CurrencyFormat = row.positiveCode;
    fs.NegCurrFormat = row.negativeCode;
    EXPECT_EQ(FloatToTextFmt(row.value, F::Currency, 15, 2, fs), QString::fromUtf16(row.text));
}

INSTANTIATE_TEST_SUITE_P(Table, CurrencyPatternTest,
                         ::testing::Values(CurrencyRow{"Positive0", 0, 0, 1234.5, u"\u20AC1,234.50"},
                                           CurrencyRow{"Positive1", 1, 0, 1234.5, u"1,234.50\u20AC"},
                                           CurrencyRow{"Positive2", 2, 0, 1234.5, u"\u20AC 1,234.50"},
                                           CurrencyRow{"Positive3", 3, 0, 1234.5, u"1,234.50 \u20AC"},
                                           CurrencyRow{"Negative0", 0, 0, -1234.5, u"(\u20AC1,234.50)"},
                                           CurrencyRow{"Negative1", 0, 1, -1234.5, u"-\u20AC1,234.50"},
                                           CurrencyRow{"Negative2", 0, 2, -1234.5, u"\u20AC-1,234.50"},
                                           CurrencyRow{"Negative3", 0, 3, -1234.5, u"\u20AC1,234.50-"},
                                           CurrencyRow{"Negative4", 0, 4, -1234.5, u"(1,234.50\u20AC)"},
                                           CurrencyRow{"Negative5", 0, 5, -1234.5, u"-1,234.50\u20AC"},
                                           CurrencyRow{"Negative6", 0, 6, -1234.5, u"1,234.50-\u20AC"},
                                           CurrencyRow{"Negative7", 0, 7, -1234.5, u"1,234.50\u20AC-"},
                                           CurrencyRow{"Negative8", 0, 8, -1234.5, u"-1,234.50 \u20AC"},
                                           CurrencyRow{"Negative9", 0, 9, -1234.5, u"-\u20AC 1,234.50"},
                                           CurrencyRow{"Negative10", 0, 10, -1234.5, u"1,234.50 \u20AC-"},
                                           CurrencyRow{"Negative11", 0, 11, -1234.5, u"\u20AC 1,234.50-"},
                                           CurrencyRow{"Negative12", 0, 12, -1234.5, u"\u20AC -1,234.50"},
                                           CurrencyRow{"Negative13", 0, 13, -1234.5, u"1,234.50- \u20AC"},
                                           CurrencyRow{"Negative14", 0, 14, -1234.5, u"(\u20AC 1,234.50)"},
                                           CurrencyRow{"Negative15", 0, 15, -1234.5, u"(1,234.50 \u20AC)"},
                                           CurrencyRow{"NegativeAbove15ActsAs15", 0, 40, -1234.5, u"(1,234.50 \u20AC)"},
                                           CurrencyRow{"PositiveIgnoresNegativeCode", 1, 9, 0.5, u"0.50\u20AC"}),
                         RowName());

} // namespace
