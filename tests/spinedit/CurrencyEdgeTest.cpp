#include <gtest/gtest.h>

#include <limits>

#include "ScopedFormat.h"
#include "VelCurrencySettings.h"

namespace {

// Amounts within half a shown unit of the 64-bit edge: the text the edit shows must read back,
// or a value the edit itself set would turn into a validation error on the next read.
TEST(CurrencyEdge, TextAtTheSixtyFourBitEdgeReadsBack)
{
    TFormatSettings s;
    s.CurrencyString = QStringLiteral("$");
    s.CurrencyFormat = 1;
    s.NegCurrFormat = 1;
    s.CurrencyGrouping = 3;
    s.DecimalSeparator = '.';
    s.MonetaryThousandSeparator = ',';
    ScopedFormat f(s);
    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    struct Row {
        qint64 Amount;
        quint8 Decimals;
        const char* Text;
    };
    const Row rows[] = {
        {max, 0, "922,337,203,685,477$"},
        {max, 1, "922,337,203,685,477.5$"},
        {max, 2, "922,337,203,685,477.58$"},
        {max, 3, "922,337,203,685,477.580$"},
        {max, 4, "922,337,203,685,477.5807$"},
        {min, 0, "-$922,337,203,685,477"},
        {min, 3, "-$922,337,203,685,477.580"},
        {max - 4999, 0, "922,337,203,685,477$"},
        {9223372036854765000, 0, "922,337,203,685,477$"}, // an ordinary half rounds up as before
    };
    for (const Row& r : rows) {
        TVelCurrencySettings c;
        c.SetDecimals(r.Decimals);
        const QString text = CurrencyToText(r.Amount, c);
        EXPECT_EQ(text, QString::fromUtf8(r.Text)) << r.Amount << " with " << int(r.Decimals);
        const std::optional<qint64> back = TextToCurrency(text, c);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(CurrencyToText(*back, c), text);
    }
}

} // namespace
