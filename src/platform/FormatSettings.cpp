#include "FormatSettings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

namespace {

TFormatSettings& Current()
{
    static TFormatSettings settings;
    return settings;
}

constexpr const char* kPositive[4] = {"$*", "*$", "$ *", "* $"};
constexpr const char* kNegative[16] = {"($*)", "-$*",  "$-*",  "$*-",  "(*$)", "-*$",  "*-$",   "*$-",
                                       "-* $", "-$ *", "* $-", "$ *-", "$ -*", "*- $", "($ *)", "(* $)"};

QChar FirstOr(const QString& s, QChar fallback)
{
    return s.isEmpty() ? fallback : s.at(0);
}

// Reduces a formatted currency amount to its pattern: the symbol becomes "$", the number "*",
// any kind of blank a plain space and any kind of minus "-".
QString PatternOf(QString text, const QString& symbol, const QLocale& locale)
{
    text.replace(QChar(0x00A0), QLatin1Char(' ')).replace(QChar(0x202F), QLatin1Char(' '));
    text.replace(QChar(0x2212), QLatin1Char('-'));
    const QString minus = locale.negativeSign();
    if (!minus.isEmpty() && minus != QLatin1String("-"))
        text.replace(minus, QStringLiteral("-"));
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isDigit()) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return {};
    text = text.left(first) + QLatin1Char('*') + text.mid(last + 1);
    if (!symbol.isEmpty())
        text.replace(symbol, QStringLiteral("$"));
    return text.trimmed();
}

int CodeOf(const QString& pattern, const char* const* table, int count, int fallback)
{
    for (int i = 0; i < count; ++i)
        if (pattern == QLatin1String(table[i]))
            return i;
    return fallback;
}

class LocaleWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::LocaleChange)
            ReloadFormatSettings();
        return false;
    }
};

} // namespace

const TFormatSettings& FormatSettings()
{
    return Current();
}

void SetFormatSettings(const TFormatSettings& settings)
{
    Current() = settings;
}

TFormatSettings FormatSettingsFromLocale(const QLocale& locale)
{
    TFormatSettings s;
    s.DecimalSeparator = FirstOr(locale.decimalPoint(), QLatin1Char('.'));
    s.ThousandSeparator = FirstOr(locale.groupSeparator(), QLatin1Char(','));
    s.MonetaryThousandSeparator = s.ThousandSeparator;

    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol.isEmpty())
        s.CurrencyString = symbol;

    const QString positive = locale.toCurrencyString(1234.0, symbol);
    const QString negative = locale.toCurrencyString(-1234.0, symbol);
    s.CurrencyFormat = CodeOf(PatternOf(positive, symbol, locale), kPositive, 4, 0);
    s.NegCurrFormat = CodeOf(PatternOf(negative, symbol, locale), kNegative, 16, 1);

    const QString withFraction = locale.toCurrencyString(1.0, symbol);
    const qsizetype dot = withFraction.indexOf(s.DecimalSeparator);
    if (dot >= 0) {
        int digits = 0;
        for (qsizetype i = dot + 1; i < withFraction.size() && withFraction.at(i).isDigit(); ++i)
            ++digits;
        s.CurrencyDecimals = digits;
    } else {
        s.CurrencyDecimals = 0;
    }
    return s;
}

bool IsThousandSeparator(QChar C, QChar ThousandSeparator)
{
    const auto blank = [](QChar c) { return c == QChar(0x0020) || c == QChar(0x00A0) || c == QChar(0x202F); };
    return C == ThousandSeparator || (blank(C) && blank(ThousandSeparator));
}

void ReloadFormatSettings()
{
    SetFormatSettings(FormatSettingsFromLocale(QLocale::system()));
}

void WatchLocaleChanges()
{
    // The listener is a child of the application, so it dies with it and a new application
    // object gets a new listener.
    static QPointer<LocaleWatcher> watcher;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || watcher)
        return;
    watcher = new LocaleWatcher(app);
    app->installEventFilter(watcher);
}

const char* PositiveCurrencyPattern(int code)
{
    return kPositive[code < 0 ? 0 : (code > 3 ? 3 : code)];
}

const char* NegativeCurrencyPattern(int code)
{
    return kNegative[code < 0 ? 0 : (code > 15 ? 15 : code)];
}
