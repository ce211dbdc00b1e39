// Arbitrary 64-bit (and 80-bit) patterns through every form of the float-to-text conversion,
// each text compared with the exact decimal reference and held to a bounded length.
//
// Input: a mode byte (bit 0: 80-bit pattern; bits 1-2: separators), a precision byte, a digits
// byte, a currency byte (pattern codes), a symbol byte, then the pattern itself.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "DecimalReference.h"
#include "FloatToText.h"
#include "FuzzSupport.h"

namespace {

using namespace DecimalReference;

// Placeholders for the separators while the reference is plain bytes; digits, '-' and 'E' never
// collide with them.
constexpr char kDecimalMark = '\x02';
constexpr char kThousandMark = '\x01';

// The patterns as the locale's currency format codes define them: '$' the symbol, '*' the number.
const char* const kPositivePatterns[4] = {"$*", "*$", "$ *", "* $"};
const char* const kNegativePatterns[16] = {"($*)", "-$*",  "$-*",  "$*-",  "(*$)", "-*$",  "*-$",   "*$-",
                                           "-* $", "-$ *", "* $-", "$ *-", "$ -*", "*- $", "($ *)", "(* $)"};
const char* const kSymbols[6] = {"$", "\u20AC", "kr", "", "CHF", "z\u0142"};

struct Separators {
    QChar decimal;
    QChar thousand;
};
const Separators kSeparators[4] = {{QLatin1Char('.'), QLatin1Char(',')},
                                   {QLatin1Char(','), QLatin1Char('.')},
                                   {QLatin1Char('.'), QChar()},
                                   {QLatin1Char(','), QChar(0x00A0)}};

QString WithSeparators(const std::string& s, const TFormatSettings& fs)
{
    QString out;
    for (const char c : s) {
        if (c == kDecimalMark)
            out += fs.DecimalSeparator;
        else if (c == kThousandMark)
            out += fs.ThousandSeparator;
        else
            out += QLatin1Char(c);
    }
    return out;
}

// What the value is before any rounding: a number with its exact digits, or one of the texts
// that stand for no number.
struct Value {
    enum Kind { Number, Zero, Infinity, NotANumber, Malformed } kind = Zero;
    bool negative = false;
    ExactDigits exact;
};

Value Classify(TVelExtended x, bool fromDouble)
{
    Value v;
    v.negative = x.SignBit();
    if (fromDouble) {
        if (x.IsNaN())
            v.kind = Value::NotANumber;
        else if (!x.IsFinite())
            v.kind = Value::Infinity;
        else if (x == 0)
            v.kind = Value::Zero;
        else
            v.kind = Value::Number;
    } else {
        // The 80-bit format has encodings no arithmetic produces (an integer bit that disagrees
        // with the exponent); the conversion need only survive those. Its own denormals are zero.
        const uint64_t mantissa = x.Bits().Mantissa;
        const unsigned exponent = x.Bits().SignExponent & 0x7FFFu;
        const bool integerBit = (mantissa >> 63) != 0;
        if (exponent == 0)
            v.kind = integerBit ? Value::Malformed : Value::Zero;
        else if (!integerBit)
            v.kind = Value::Malformed;
        else if (exponent == 0x7FFF)
            v.kind = (mantissa << 1) == 0 ? Value::Infinity : Value::NotANumber;
        else
            v.kind = Value::Number;
    }
    if (v.kind == Value::Number)
        v.exact = fromDouble ? DigitsOf(double(x)) : DigitsOf(x);
    return v;
}

// Every rounding the conversion may legitimately give when it keeps `keep` digits; one "rounded
// away" entry when keep is negative.
std::vector<Rounded> Roundings(const Value& v, int keep)
{
    if (v.kind == Value::Zero)
        return {Rounded{}};
    if (keep < 0)
        return {Rounded{}};
    return Candidates(v.exact, keep);
}

std::string NonNumberText(const Value& v)
{
    std::string s;
    if (v.kind == Value::Infinity && v.negative)
        s += '-';
    s += v.kind == Value::Infinity ? "INF" : "NAN";
    return s;
}

std::string ExponentLayout(bool negative, const Rounded& r, int precision, int expDigits)
{
    std::string s;
    const bool zero = r.digits.empty();
    if (negative && !zero)
        s += '-';
    s += zero ? '0' : r.digits[0];
    s += kDecimalMark;
    const std::string tail = zero ? std::string() : r.digits.substr(1);
    s += tail;
    s.append(std::size_t(std::max(0, precision - 1 - int(tail.size()))), '0');
    const int e = zero ? 0 : r.exponent - 1;
    s += 'E';
    s += e < 0 ? '-' : '+';
    const std::string magnitude = std::to_string(std::abs(e));
    s.append(std::size_t(std::max(0, expDigits - int(magnitude.size()))), '0');
    s += magnitude;
    return s;
}

QString CurrencyLayout(bool negative, const std::string& number, const TFormatSettings& fs)
{
    const char* pattern = negative ? kNegativePatterns[std::clamp(fs.NegCurrFormat, 0, 15)]
                                   : kPositivePatterns[std::clamp(fs.CurrencyFormat, 0, 3)];
    QString out;
    for (const char* p = pattern; *p; ++p) {
        if (*p == '$')
            out += fs.CurrencyString;
        else if (*p == '*')
            out += WithSeparators(number, fs);
        else
            out += QLatin1Char(*p);
    }
    return out;
}

// The texts FloatToTextFmt may give for this value, format, precision and digits.
std::vector<QString> Expected(const Value& v, TFloatFormat format, int precisionArg, int digitsArg,
                              const TFormatSettings& fs)
{
    const int precision = std::clamp(precisionArg, 2, 18);
    std::vector<QString> out;
    if (v.kind == Value::Infinity || v.kind == Value::NotANumber) {
        out.push_back(QString::fromLatin1(NonNumberText(v).c_str()));
        return out;
    }
    const bool general = format == TFloatFormat::General || format == TFloatFormat::Exponent;
    const int expDigits = (digitsArg >= 0 && digitsArg <= 4) ? digitsArg : 0;
    const int decimals = std::clamp(digitsArg, 0, 18);
    const int keep = general ? precision : std::min(v.exact.exponent + decimals, precision);
    for (const Rounded& r : Roundings(v, keep)) {
        const bool negative = v.negative && !r.digits.empty();
        std::string text;
        if (format == TFloatFormat::General || (!general && r.exponent > precision))
            text = GeneralLayout(negative, r, precision, kDecimalMark, general ? expDigits : 0);
        else if (format == TFloatFormat::Exponent)
            text = ExponentLayout(negative, r, precision, expDigits);
        else if (format == TFloatFormat::Fixed)
            text = FixedLayout(negative, r, decimals, kDecimalMark);
        else {
            const char thousand = fs.ThousandSeparator.isNull() ? '\0' : kThousandMark;
            const std::string number = FixedLayout(false, r, decimals, kDecimalMark, thousand);
            if (format == TFloatFormat::Number) {
                text = (negative ? std::string(1, '-') : std::string()) + number;
            } else {
                out.push_back(CurrencyLayout(negative, number, fs));
                continue;
            }
        }
        out.push_back(WithSeparators(text, fs));
    }
    return out;
}

std::string Describe(const Value& v, TVelExtended x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04X:%016llX", unsigned(x.Bits().SignExponent),
                  static_cast<unsigned long long>(x.Bits().Mantissa));
    std::string s = buf;
    if (v.kind == Value::Number)
        s += " (exact " + v.exact.digits + "e" + std::to_string(v.exact.exponent) + ")";
    return s;
}

const char* FormatName(TFloatFormat f)
{
    switch (f) {
    case TFloatFormat::General: return "general";
    case TFloatFormat::Exponent: return "exponent";
    case TFloatFormat::Fixed: return "fixed";
    case TFloatFormat::Number: return "number";
    case TFloatFormat::Currency: return "currency";
    }
    return "?";
}

void CheckOne(const std::vector<QString>& expected, const QString& got, const std::string& context)
{
    for (const QString& e : expected)
        if (got == e)
            return;
    std::string list;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on " " + string at -O3.
    for (const QString& e : expected) {
        list += ' ';
        list += Quoted(e);
    }
    FuzzFail(context + ": got " + Quoted(got) + ", expected one of" + list);
}

// Sign, up to 18 integer digits with five separators, separator and 18 decimals: what the fixed
// writer's buffer was sized for; the currency form adds the symbol and the pattern.
constexpr qsizetype kMaxNumberLength = 1 + 18 + 5 + 1 + 18;
constexpr qsizetype kMaxGeneralLength = 22; // "-1.23456789012345E-308"

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzBytes in(data, size);
    const uint8_t mode = in.Byte();
    const int precision = int(int8_t(in.Byte()));
    const int digits = int(int8_t(in.Byte()));
    const uint8_t codes = in.Byte();
    const uint8_t symbol = in.Byte();
    const bool extended = mode & 1;

    // The pattern as the x87 lays it out in memory: the mantissa's eight bytes, then sign and
    // exponent, each least significant byte first.
    TVelExtended x;
    if (extended) {
        TVelExtendedBits bits;
        for (int i = 0; i < 8; ++i)
            bits.Mantissa |= uint64_t(in.Byte()) << (8 * i);
        bits.SignExponent = in.Byte();
        bits.SignExponent = uint16_t(bits.SignExponent | unsigned(in.Byte()) << 8);
        x = TVelExtended::FromBits(bits);
    } else {
        x = in.Raw<double>();
    }
    const Value value = Classify(x, !extended);

    TFormatSettings fs;
    const Separators& seps = kSeparators[(mode >> 1) & 3];
    fs.DecimalSeparator = seps.decimal;
    fs.ThousandSeparator = seps.thousand;
    fs.MonetaryThousandSeparator = seps.thousand;
    fs.CurrencyFormat = (codes & 7) - 2; // -2 .. 5: out of range on both sides
    fs.NegCurrFormat = (codes >> 3) - 4; // -4 .. 27
    fs.CurrencyString = QString::fromUtf8(kSymbols[symbol % 6]);

    // The one conversion of the labels, table and export, in both separators.
    if (!extended) {
        const double d = double(x);
        for (const QChar decimal : {QLatin1Char('.'), QLatin1Char(',')}) {
            TFormatSettings g;
            g.DecimalSeparator = decimal;
            SetFormatSettings(g);
            const QString got = FloatToGeneralText(d);
            FuzzCheck(got.size() <= kMaxGeneralLength, "FloatToGeneralText too long: " + Quoted(got));
            CheckOne(Expected(value, TFloatFormat::General, 15, 0, g), got,
                     "FloatToGeneralText(" + Describe(value, x) + ")");
        }
        SetFormatSettings(TFormatSettings{});
    }

    for (const TFloatFormat format : {TFloatFormat::General, TFloatFormat::Exponent, TFloatFormat::Fixed,
                                      TFloatFormat::Number, TFloatFormat::Currency}) {
        const QString got = FloatToTextFmt(x, format, precision, digits, fs);
        const qsizetype limit =
            kMaxNumberLength + (format == TFloatFormat::Currency ? fs.CurrencyString.size() + 3 : 0);
        const std::string context = std::string(FormatName(format)) + " form of " + Describe(value, x) +
                                    ", precision " + std::to_string(precision) + ", digits " + std::to_string(digits);
        FuzzCheck(got.size() <= limit, context + ": too long: " + Quoted(got));
        if (value.kind != Value::Malformed)
            CheckOne(Expected(value, format, precision, digits, fs), got, context);
    }
    return 0;
}
