#include <gtest/gtest.h>

#include <limits>

#include "ScopedFormat.h"
#include "VelCurrencySettings.h"

namespace {

TFormatSettings Dollars()
{
    TFormatSettings s;
    s.CurrencyString = QStringLiteral("$");
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 1;
    s.CurrencyDecimals = 2;
    s.CurrencyGrouping = 3;
    return s;
}

TEST(CurrencySettings, SystemModeFollowsTheLocale)
{
    TFormatSettings s = Dollars();
    s.CurrencyString = QStringLiteral("kr");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 20; // beyond the table: the last pattern
    s.CurrencyDecimals = 3;
    s.CurrencyGrouping = 4;
    s.DecimalSeparator = ',';
    s.MonetaryThousandSeparator = ' ';
    ScopedFormat f(s);
    TVelCurrencySettings c;
    EXPECT_EQ(c.SystemDefaults(), cmSystem);
    EXPECT_EQ(c.Symbol(), "kr");
    EXPECT_EQ(c.PositiveFormatStr(), QStringLiteral("1,1 \u00A4"));
    EXPECT_EQ(c.NegativeFormatStr(), QStringLiteral("(1,1 \u00A4)"));
    EXPECT_EQ(c.Decimals(), 3);
    EXPECT_EQ(c.GroupSize(), 4);
    EXPECT_EQ(c.DecimalSeparator(), QChar(','));
    EXPECT_EQ(c.ThousandSeparator(), QChar(' '));
}

TEST(CurrencySettings, HandChangesSwitchToUserAndBackReloads)
{
    ScopedFormat f(Dollars());
    TVelCurrencySettings c;
    c.SetDecimals(4);
    EXPECT_EQ(c.SystemDefaults(), cmSystem) << "the edit's decimals are no hand change";
    c.SetSymbol("EUR");
    EXPECT_EQ(c.SystemDefaults(), cmUser);
    c.SetSystemDefaults(cmSystem);
    EXPECT_EQ(c.Symbol(), "$");
    EXPECT_EQ(c.Decimals(), 2);
}

TEST(CurrencySettings, AssignCopiesUserLayoutOrReloadsSystem)
{
    ScopedFormat f(Dollars());
    TVelCurrencySettings user;
    user.SetSymbol("EUR");
    user.SetPositiveFormatStr(TVelCurrencySettings::PositivePattern(3));
    user.SetNegativeFormatStr(TVelCurrencySettings::NegativePattern(8));
    user.SetDecimalSeparator(',');
    user.SetThousandSeparator('.');
    user.SetGroupSize(2);
    user.SetDecimals(3);

    TVelCurrencySettings copy;
    copy.Assign(user);
    EXPECT_EQ(copy.SystemDefaults(), cmUser);
    EXPECT_EQ(CurrencyToText(-12345678900, copy), CurrencyToText(-12345678900, user));

    TVelCurrencySettings system;
    copy.Assign(system);
    EXPECT_EQ(copy.SystemDefaults(), cmSystem);
    EXPECT_EQ(copy.Symbol(), "$");
    EXPECT_EQ(copy.GroupSize(), 3);
}

TEST(CurrencyText, WritesRoundedGroupedAmounts)
{
    ScopedFormat f(Dollars());
    TVelCurrencySettings c;
    const struct {
        qint64 Amount;
        int Decimals;
        const char* Text;
    } rows[] = {
        {12345678900, 2, "$1,234,567.89"},
        {-15000, 2, "-$1.50"},
        {0, 2, "$0.00"},
        {50, 2, "$0.01"},
        {-50, 2, "-$0.01"},
        {-49, 2, "$0.00"}, // rounds to zero: no sign
        {15000, 0, "$2"},
        {15000, 6, "$1.500000"},
        {1234, 4, "$0.1234"},
        {std::numeric_limits<qint64>::min(), 4, "-$922,337,203,685,477.5808"},
    };
    for (const auto& r : rows) {
        c.SetDecimals(quint8(r.Decimals));
        EXPECT_EQ(CurrencyToText(r.Amount, c), r.Text) << r.Amount;
    }
}

TEST(CurrencyText, EveryPatternReadsBackWhatItWrote)
{
    ScopedFormat f(Dollars());
    for (const QString& symbol : {QStringLiteral("$"), QStringLiteral("\u20AC")}) {
        for (int code = 0; code < 16; ++code) {
            TVelCurrencySettings c;
            c.SetSymbol(symbol);
            c.SetDecimalSeparator(',');
            c.SetThousandSeparator('.');
            c.SetDecimals(4);
            c.SetPositiveFormatStr(TVelCurrencySettings::PositivePattern(code % 4));
            c.SetNegativeFormatStr(TVelCurrencySettings::NegativePattern(code));
            for (qint64 amount : {qint64(-12345678901), qint64(12345678901), qint64(0), qint64(-1)}) {
                const QString text = CurrencyToText(amount, c);
                EXPECT_EQ(TextToCurrency(text, c), amount) << code << " " << text.toStdString();
            }
        }
    }
}

TEST(CurrencyText, ReaderAcceptsBareNumbersAndRejectsTheRest)
{
    ScopedFormat f(Dollars());
    TVelCurrencySettings c;
    const struct {
        const char* Text;
        std::optional<qint64> Amount;
    } rows[] = {
        {"", 0},
        {"1234.5", 12345000},
        {"-12.5", -125000},
        {"$ 1,234.50", 12345000},
        {"$1.23456", 12346},
        {"$922,337,203,685,477.5807", std::numeric_limits<qint64>::max()},
        {"$922,337,203,685,477.5808", std::nullopt},
        {"$999999999999999999", std::nullopt},
        {"abc", std::nullopt},
        {"$", std::nullopt},
        {"$-5", std::nullopt},
        {"$1.2.3", std::nullopt},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TextToCurrency(r.Text, c), r.Amount) << r.Text;
}

} // namespace
