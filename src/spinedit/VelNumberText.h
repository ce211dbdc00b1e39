#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>
#include <optional>

#include "FormatSettings.h"
#include "VelExtended.h"

// How a spin edit shows and reads its number. The ordinals are stored in form descriptions.
enum TVelNumberType { ntInteger, ntFloat, ntFloatFixed, ntFloatNumber, ntCurrency };

// The three looks of a fixed-point number: trailing fractional zeros removed, a minimum number of
// fractional digits, or thousands grouped.
enum class TVelNumberStyle { Trimmed, Padded, Grouped };

// Fixed-point text of x with `places` decimals, rounded half away from zero on its 18-digit
// decimal expansion, in the separators of `fs`. Magnitudes of 10^18 and more, infinities and NaN
// come out in the general exponent form and are left unstyled.
QString FormatNumber(TVelExtended x, int places, TVelNumberStyle style, int minFraction,
                     const TFormatSettings& fs = FormatSettings());

// x truncated toward zero, reduced to its low 32 bits, as a signed decimal; what an integer edit
// shows for a Double. Non-finite values show "0".
QString IntegerValueText(double x);

// The text with the first occurrence of a non-empty suffix removed.
QString TextWithoutSuffix(const QString& text, const QString& suffix);

// Optional sign and decimal digits, nothing else; a lone "-" is 0. Empty when the text is not
// such a number or does not fit 64 bits.
std::optional<qint64> ParseInt64(const QString& s);

// The readers report a text they cannot read instead of acting on it, so that the edit decides
// what a failure means.
struct TVelIntegerRead {
    qint32 Value = 0;
    bool Failed = false;
};

struct TVelFloatRead {
    TVelExtended Value = 0;
    bool Failed = false;
};

// Integer reading of a text whose suffix is already removed: empty is 0; a text that is no
// integer or lies outside -2147483647 .. 2147483647 fails.
TVelIntegerRead ReadIntegerText(const QString& t);

// Float reading of a text whose suffix is already removed. Every thousand separator is dropped;
// with cutDecimals >= 0, fractional digits beyond that count are cut off (never rounded).
TVelFloatRead ReadFloatText(const QString& t, int cutDecimals, QChar decimalSeparator, QChar thousandSeparator);
