#include <gtest/gtest.h>

#include "DelimitedText.h"
#include "RowNames.h"

namespace {

struct CsvRow {
    const char* name;
    QStringList cells;
    QString line;
    friend void PrintTo(const CsvRow& Row, std::ostream* Os) { *Os << Row.name; }
};

class RowToCsvLineTest : public ::testing::TestWithParam<CsvRow> {};

TEST_P(RowToCsvLineTest, WritesLine)
{
    EXPECT_EQ(RowToCsvLine(GetParam().cells), GetParam().line);
}

const QString kNulThenComma = QString(QChar(0)) + QStringLiteral("a,b");
const QString kCommaAfterNulInText = QStringLiteral("x") + QChar(0) + QStringLiteral(",y");

INSTANTIATE_TEST_SUITE_P(
    Rows, RowToCsvLineTest,
    ::testing::Values(
        CsvRow{"Header", {"Voltage", "Amperage", "Resistance"}, "Voltage,Amperage,Resistance"},
        CsvRow{"BlankLastRow", {"", "", ""}, ",,"}, CsvRow{"PlainNumbers", {"6.6", "2", "3.3"}, "6.6,2,3.3"},
        CsvRow{"ExponentNumbers", {"1E-5", "0.5", "2E-5"}, "1E-5,0.5,2E-5"},
        CsvRow{"CommaDecimals", {"1,5", "1", "1,5"}, "\"1,5\",1,\"1,5\""}, CsvRow{"SpaceQuoted", {"a b"}, "\"a b\""},
        CsvRow{"TabQuoted", {"a\tb", "c"}, "\"a\tb\",c"}, CsvRow{"LineFeedQuoted", {"a\nb"}, "\"a\nb\""},
        CsvRow{"ControlCodeOneQuoted", {QStringLiteral("a") + QChar(1)}, QStringLiteral("\"a") + QChar(1) + "\""},
        CsvRow{"Code33NotQuoted", {"a!b"}, "a!b"}, CsvRow{"QuoteDoubled", {"12\"3"}, "\"12\"\"3\""},
        CsvRow{"OnlyQuotes", {"\"\""}, "\"\"\"\"\"\""}, CsvRow{"LoneEmptyCell", {""}, "\"\""},
        CsvRow{"EmptyCellAmongOthers", {"", "a"}, ",a"}, CsvRow{"NoCells", {}, ""},
        CsvRow{"NonLatinNotQuoted", {QString::fromUtf8("Ω\u00e9")}, QString::fromUtf8("Ω\u00e9")},
        CsvRow{"NoBreakSpaceNotQuoted", {QString(QChar(0xA0))}, QString(QChar(0xA0))},
        CsvRow{"NulStopsScan", {kNulThenComma}, kNulThenComma},
        CsvRow{"CommaBeforeNulQuoted", {QStringLiteral("a,") + QChar(0)}, QStringLiteral("\"a,") + QChar(0) + "\""},
        CsvRow{"TextAfterNulKept", {kCommaAfterNulInText, "z"}, kCommaAfterNulInText + ",z"}),
    RowName());

} // namespace
