#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "FormatSettings.h"

enum TVelCurrencyMode { cmSystem, cmUser };

// How the currency kind of a mask edit lays out a money amount. In the patterns "¤" stands for
// the symbol and "1,1" for the unsigned number. With cmSystem everything follows the user's
// locale; changing any of the layout fields by hand switches to cmUser, so that copying the
// settings keeps what was chosen.
class TVelCurrencySettings {
public:
    TVelCurrencySettings();

    TVelCurrencyMode SystemDefaults() const { return mode_; }
    void SetSystemDefaults(TVelCurrencyMode mode);

    const QString& Symbol() const { return symbol_; }
    void SetSymbol(const QString& symbol);
    const QString& PositiveFormatStr() const { return positive_; }
    void SetPositiveFormatStr(const QString& pattern);
    const QString& NegativeFormatStr() const { return negative_; }
    void SetNegativeFormatStr(const QString& pattern);
    QChar DecimalSeparator() const { return decimalSeparator_; }
    void SetDecimalSeparator(QChar c);
    QChar ThousandSeparator() const { return thousandSeparator_; }
    void SetThousandSeparator(QChar c);
    int GroupSize() const { return groupSize_; }
    void SetGroupSize(int size);

    // Follows the owning edit's Decimals and so leaves the mode alone.
    quint8 Decimals() const { return decimals_; }
    void SetDecimals(quint8 decimals) { decimals_ = decimals; }

    void Assign(const TVelCurrencySettings& source);

    static QString PositivePattern(int code);
    static QString NegativePattern(int code);

private:
    void LoadSystemDefaults();

    TVelCurrencyMode mode_ = cmSystem;
    QString symbol_;
    QString positive_;
    QString negative_;
    quint8 decimals_ = 2;
    int groupSize_ = 3;
    QChar decimalSeparator_;
    QChar thousandSeparator_;
};

// A whole number of ten-thousandths as a money text in the settings' layout, rounded half away
// from zero to the settings' decimals.
QString CurrencyToText(qint64 tenThousandths, const TVelCurrencySettings& settings);

// Reads a money text back into ten-thousandths. Accepts the negative and the positive layout and a
// bare number with an optional leading "-"; whitespace is not significant. An empty text is 0;
// anything else unreadable, or an amount beyond 64 bits, gives nothing.
std::optional<qint64> TextToCurrency(const QString& text, const TVelCurrencySettings& settings);
