#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>

#include "FormatSettings.h"
#include "RowNames.h"
#include "ScopedFormat.h"

namespace {

struct LocaleCase {
    const char* name;
    QLocale locale;
    QChar decimal;
    QChar thousand;
    int positive;
    int negative;
    int decimals;
    friend void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }
};

class FormatFromLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(FormatFromLocale, ReadsSeparatorsAndCurrencyPatterns)
{
    const LocaleCase& c = GetParam();
    const TFormatSettings s = FormatSettingsFromLocale(c.locale);
    EXPECT_EQ(s.DecimalSeparator, c.decimal);
    EXPECT_EQ(s.ThousandSeparator, c.thousand);
    EXPECT_EQ(s.CurrencyFormat, c.positive);
    EXPECT_EQ(s.NegCurrFormat, c.negative);
    EXPECT_EQ(s.CurrencyDecimals, c.decimals);
    EXPECT_FALSE(s.CurrencyString.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, FormatFromLocale,
    ::testing::Values(LocaleCase{"English_US", QLocale(QLocale::English, QLocale::UnitedStates), '.', ',', 0, 0, 2},
                      LocaleCase{"German", QLocale(QLocale::German, QLocale::Germany), ',', '.', 3, 8, 2},
                      LocaleCase{"Japanese", QLocale(QLocale::Japanese, QLocale::Japan), '.', ',', 0, 0, 0},
                      LocaleCase{"French", QLocale(QLocale::French, QLocale::France), ',', QChar(0x202F), 3, 15, 2}),
    RowName());

TEST(FormatSettings, CurrencyPatternCodesOutOfRangeAreClamped)
{
    EXPECT_STREQ(PositiveCurrencyPattern(0), "$*");
    EXPECT_STREQ(PositiveCurrencyPattern(3), "* $");
    EXPECT_STREQ(PositiveCurrencyPattern(9), "* $");
    EXPECT_STREQ(NegativeCurrencyPattern(0), "($*)");
    EXPECT_STREQ(NegativeCurrencyPattern(8), "-* $");
    EXPECT_STREQ(NegativeCurrencyPattern(40), "(* $)");
}

TEST(FormatSettings, ScopedFormatRestoresThePreviousOne)
{
    // A copy on purpose: the settings it is taken from change below.
    const TFormatSettings before = FormatSettings(); // NOLINT(performance-unnecessary-copy-initialization)
    {
        ScopedFormat comma(QChar(','), QChar('.'));
        EXPECT_EQ(FormatSettings().DecimalSeparator, QChar(','));
        EXPECT_EQ(FormatSettings().ThousandSeparator, QChar('.'));
    }
    EXPECT_EQ(FormatSettings(), before);
}

TEST(FormatSettings, LocaleChangeAnnouncementRereadsTheSystemLocale)
{
    ScopedFormat odd(QChar('#'), QChar('~'));
    WatchLocaleChanges();
    WatchLocaleChanges(); // a second call must not install a second listener
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    EXPECT_EQ(FormatSettings(), FormatSettingsFromLocale(QLocale::system()));
}

} // namespace
