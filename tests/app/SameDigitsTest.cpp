// Every architecture must show, print and export the x87's digits, also for the numbers that are
// hardest to get right: the extremes, subnormals, the 18-digit boundary, and values that come out
// one way with a 64-bit mantissa and another with a 113-bit one. SameDigits.txt holds the lines
// x86 gives, where the hardware computes them; every other architecture must give the same bytes.
//
// To write the file again after a deliberate change, on x86:
//   VELORIN_WRITE_SAME_DIGITS=1 tests/test_app --gtest_filter='SameDigits.*'

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <bit>
#include <cstdlib>
#include <type_traits>

#include "DelimitedText.h"
#include "FloatToText.h"
#include "Main.h"
#include "ScopedFormat.h"
#include "VelExtended.h"
#include "VelSoftExtended.h"
#include "VelNumberText.h"

namespace {

const QString kTablePath = QStringLiteral(VELORIN_TESTS_SOURCE_DIR "/app/SameDigits.txt");

struct ValueRow {
    const char* name;
    TVelExtended value;
};

constexpr TVelExtended Bits(uint64_t mantissa, uint16_t signExponent)
{
    return TVelExtended::FromBits({mantissa, signExponent});
}

const ValueRow kValues[] = {
    {"Tenth", 0.1},
    {"OneThird", 1.0 / 3},
    {"TwoThirds", 2.0 / 3},
    {"FirstExponentBelow", 0.00001},
    {"FifteenNines", 999999999999999.9},
    {"FifteenDigitTie", 100000000000000.5},
    {"DoubleMax", 0x1.fffffffffffffp+1023},
    {"DoubleMinNormal", 0x1p-1022},
    {"DoubleLargestSubnormal", 0x0.fffffffffffffp-1022},
    {"DoubleSmallestSubnormal", 0x1p-1074},
    {"EighteenDigitsTop", Bits(0xDE0B6B3A763FFFF8ULL, 0x403A)},
    {"EighteenDigitsBelowTop", Bits(0xDE0B6B3A763FFFF7ULL, 0x403A)},
    {"EighteenNines", Bits(0xDE0B6B3A763FFFF0ULL, 0x403A)},
    {"TwoTo63", Bits(0x8000000000000000ULL, 0x403E)},
    {"ExtendedMax", Bits(0xFFFFFFFFFFFFFFFFULL, 0x7FFE)},
    {"ExtendedMinNormal", Bits(0x8000000000000000ULL, 0x0001)},
    {"ExtendedDenormal", Bits(0x0000000000000001ULL, 0x0000)},
    {"NegativeFar", Bits(0xAB1E9C4E5E3AC1F2ULL, 0xB5C7)},
    // Doubles whose 18-digit intermediate differs in its last digit between the two mantissas.
    {"Scaled64Up", 0x1.77b58a84c6p+5},
    {"Scaled64Down", 0x1.0bf300a7c4p+19},
    {"Scaled64Up2", 0x1.a07b56c11cp+12},
    // Quotients and products whose 15-digit text itself differs between the two mantissas.
    {"QuotientLabel", 0x1.31684b48790d1p+8},
    {"QuotientLabel2", 0x1.ff332a10330ap+4},
    {"ProductLabel", 0x1.baf5bd4043ce2p+26},
    {"ProductLabel2", 0x1.a181bae867813p+32},
    {"NegativeInfinity", Bits(0x8000000000000000ULL, 0xFFFF)},
};

// Typed texts whose double differs between the two mantissas, and the reader's edges.
const char* const kTexts[] = {"12275.860973930",
                              "79365.555727854",
                              "961189.91149741754632935",
                              "0.1",
                              "0.3333333333333333333333",
                              "999,999.9999999999",
                              "0.0000000001",
                              "-0.5",
                              "123456789012345678.9",
                              "9223372036854775807.9999999999"};

struct CalculationRow {
    int mode;
    const char* v;
    const char* a;
    const char* r;
};

// Label values found to differ between the two mantissas, products and quotients at the ends of
// the inputs' range, and the examples the calculator's users see first.
const CalculationRow kCalculations[] = {
    {1, "698089.726", "0", "2285.7656"},
    {1, "608691.356", "0", "7362.366"},
    {1, "162051.637", "0", "5072.0401"},
    {0, "0", "131362.735", "883.9591"},
    {0, "0", "702643.522", "9968.9257"},
    {0, "0", "312747.3375458442", "61930.7970847179"},
    {1, "398485.2267248214", "0", "137934.0395426701"},
    {2, "1000000", "0.0000000001", "0"},
    {1, "0.0001", "0", "1000000"},
    {0, "0", "1000000", "1000000"},
    {1, "1", "0", "3"},
    {2, "2", "3", "0"},
    {0, "0", "2", "3.3"},
};

QString Hex(TVelExtended x)
{
    return QString::asprintf("%04X:%016llX", unsigned(x.Bits().SignExponent),
                             static_cast<unsigned long long>(x.Bits().Mantissa));
}

QString Hex(double d)
{
    return QString::asprintf("%016llX", static_cast<unsigned long long>(std::bit_cast<uint64_t>(d)));
}

double Read(const char* text)
{
    return double(ReadFloatText(QString::fromLatin1(text), 10, QLatin1Char('.'), QLatin1Char(',')).Value);
}

// One line for each result, "what<TAB>of what<TAB>result".
QStringList Lines()
{
    const TFormatSettings fs;
    QStringList out;
    auto add = [&](const QString& what, const QString& of, const QString& result) {
        out << what + QLatin1Char('\t') + of + QLatin1Char('\t') + result;
    };
    for (const ValueRow& row : kValues) {
        const QString name = QLatin1String(row.name);
        add(QStringLiteral("general"), name, FloatToTextFmt(row.value, TFloatFormat::General, 15, 0, fs));
        add(QStringLiteral("general 18"), name, FloatToTextFmt(row.value, TFloatFormat::General, 18, 0, fs));
        add(QStringLiteral("exponent"), name, FloatToTextFmt(row.value, TFloatFormat::Exponent, 18, 4, fs));
        add(QStringLiteral("grouped 10"), name, FormatNumber(row.value, 10, TVelNumberStyle::Grouped, 10, fs));
    }
    for (const char* text : kTexts) {
        const TVelFloatRead r = ReadFloatText(QString::fromLatin1(text), -1, QLatin1Char('.'), QLatin1Char(','));
        const double d = double(r.Value);
        add(QStringLiteral("read"), QLatin1String(text), Hex(r.Value) + QLatin1Char(' ') + Hex(d));
        add(QStringLiteral("read shown"), QLatin1String(text), FloatToGeneralText(d));
    }
    for (const CalculationRow& row : kCalculations) {
        const TOhmValues in{Read(row.v), Read(row.a), Read(row.r)};
        const TOhmValues o = SolveOhm(row.mode, in);
        const QString of = QString::number(row.mode) + QLatin1Char(' ') + QLatin1String(row.v) + QLatin1Char(' ') +
                           QLatin1String(row.a) + QLatin1Char(' ') + QLatin1String(row.r);
        add(QStringLiteral("solved"), of, Hex(o.V) + QLatin1Char(' ') + Hex(o.A) + QLatin1Char(' ') + Hex(o.R));
        add(QStringLiteral("labels"), of,
            VoltageText(o.V) + QLatin1String(" | ") + AmperageText(o.A) + QLatin1String(" | ") + ResistanceText(o.R));
        add(QStringLiteral("exported"), of,
            RowToCsvLine({FloatToGeneralText(o.V), FloatToGeneralText(o.A), FloatToGeneralText(o.R)}));
    }
    return out;
}

QStringList Stored()
{
    QFile file(kTablePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1Char('#')))
            lines << line;
    return lines;
}

void Write(const QStringList& lines)
{
    QFile file(kTablePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    file.write("# What x86 shows for the hard values of tests/app/SameDigitsTest.cpp; every architecture\n"
               "# must give these bytes. Written by that test with VELORIN_WRITE_SAME_DIGITS=1, on x86 only.\n");
    file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
}

TEST(SameDigits, EveryArchitectureGivesTheX87Digits)
{
    ScopedFormat format(QLatin1Char('.'), QLatin1Char(','));
    const QStringList got = Lines();
    if (std::getenv("VELORIN_WRITE_SAME_DIGITS")) {
        ASSERT_FALSE((std::is_same_v<TVelExtended, TVelSoftExtended>))
            << "the table is the hardware's answer: write it on x86";
        Write(got);
    }
    const QStringList want = Stored();
    ASSERT_EQ(got.size(), want.size()) << "the table in " << kTablePath.toStdString() << " has other rows";
    for (qsizetype i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i].toStdString(), want[i].toStdString());
}

} // namespace
