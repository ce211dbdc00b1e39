#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

// The user's number format, the way the conversions and the number edits need it. Read from the
// locale at start-up and again whenever the desktop announces a locale change; tests replace it.
struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QString CurrencyString = QStringLiteral("$");
    int CurrencyFormat = 0; // positive currency pattern code, 0 .. 3
    int NegCurrFormat = 0;  // negative currency pattern code, 0 .. 15
    int CurrencyDecimals = 2;
    int CurrencyGrouping = 3; // digits per group in currency texts
    QChar MonetaryThousandSeparator = QLatin1Char(',');

    bool operator==(const TFormatSettings&) const = default;
};

const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

// Builds the settings from a locale; fields the locale cannot express keep their defaults.
TFormatSettings FormatSettingsFromLocale(const QLocale& locale);

// Whether C reads as the thousand separator. Locales that group with a blank are written with a
// plain space, a no-break space (U+00A0) or a narrow no-break space (U+202F), depending on the
// program and the version of its locale data; each reads as the others, so a number copied from
// one program into another keeps its value.
bool IsThousandSeparator(QChar C, QChar ThousandSeparator);

// Reads the system locale again (start-up and locale-change announcements).
void ReloadFormatSettings();

// Installs an application-wide listener that reloads the settings on QEvent::LocaleChange.
// Needs a QCoreApplication; calling it twice installs one listener.
void WatchLocaleChanges();

// Positive and negative currency pattern texts: "$" stands for the symbol, "*" for the number.
const char* PositiveCurrencyPattern(int code);
const char* NegativeCurrencyPattern(int code);
