#pragma once

#include <cstdint>

#include <QString>

#include "FormatSettings.h"
#include "VelExtended.h"

// A value in decimal form: 0.d1d2d3... x 10^Exponent. This is the one place where a binary
// number becomes decimal digits; every text form below is laid out from it.
struct TFloatRec {
    static constexpr int16_t InfExponent = 32767;
    static constexpr int16_t NanExponent = -32768;
    static constexpr int MaxDigits = 18;

    int16_t Exponent = 0;  // InfExponent or NanExponent for the two non-numbers, 0 for zero
    bool Negative = false; // false for zero and for not-a-number
    char Digits[21] = {};  // '0'..'9' without trailing zeros, NUL-ended; empty for zero and non-numbers

    int DigitCount() const;
};

// Rounds |value| half away from zero to min(E + decimals, precision) significant digits, where E
// is the decimal exponent. When E + decimals is negative the value counts as zero. Precision is
// taken in 1 .. 18. Never fails.
TFloatRec FloatToDecimal(TVelExtended value, int precision, int decimals);

enum class TFloatFormat {
    General,  // plain digits, or the exponent form beyond precision digits or below 0.0001
    Exponent, // d.ddd...E+XX with precision digits
    Fixed,    // digits decimals, no grouping
    Number,   // as Fixed, integer digits grouped by three
    Currency, // Number placed into the currency pattern
};

// precision: significant digits, clamped to 2 .. 18.
// digits: General/Exponent: least number of exponent digits (0 .. 4, anything else acts as 0);
//         Fixed/Number/Currency: decimals (clamped to 0 .. 18).
QString FloatToTextFmt(TVelExtended value, TFloatFormat format, int precision, int digits,
                       const TFormatSettings& fs = FormatSettings());

// General form with 15 significant digits and the user's current decimal separator: the text
// every number leaves the calculator in.
QString FloatToGeneralText(double value);
