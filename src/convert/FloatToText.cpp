#include "FloatToText.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "VelExtended.h"

namespace {

constexpr uint64_t kPow10[19] = {1ULL,
                                 10ULL,
                                 100ULL,
                                 1000ULL,
                                 10000ULL,
                                 100000ULL,
                                 1000000ULL,
                                 10000000ULL,
                                 100000000ULL,
                                 1000000000ULL,
                                 10000000000ULL,
                                 100000000000ULL,
                                 1000000000000ULL,
                                 10000000000000ULL,
                                 100000000000000ULL,
                                 1000000000000000ULL,
                                 10000000000000000ULL,
                                 100000000000000000ULL,
                                 1000000000000000000ULL};

constexpr TVelExtended Pow(uint64_t mantissa, uint16_t signExponent)
{
    return TVelExtended::FromBits({mantissa, signExponent});
}

// Three small tables instead of one of ~10000 entries; any 10^s with |s| < 5120 is a product of
// one entry of each. Entries up to 10^27 are exact, so the everyday magnitudes (|s| <= 27) cost
// a single rounding. The entries are written as the x87 holds them, so that every architecture
// scales by the very same numbers.
constexpr TVelExtended kPow10Ones[32] = {
    Pow(0x8000000000000000ULL, 0x3FFF), // 1e0
    Pow(0xA000000000000000ULL, 0x4002), // 1e1
    Pow(0xC800000000000000ULL, 0x4005), // 1e2
    Pow(0xFA00000000000000ULL, 0x4008), // 1e3
    Pow(0x9C40000000000000ULL, 0x400C), // 1e4
    Pow(0xC350000000000000ULL, 0x400F), // 1e5
    Pow(0xF424000000000000ULL, 0x4012), // 1e6
    Pow(0x9896800000000000ULL, 0x4016), // 1e7
    Pow(0xBEBC200000000000ULL, 0x4019), // 1e8
    Pow(0xEE6B280000000000ULL, 0x401C), // 1e9
    Pow(0x9502F90000000000ULL, 0x4020), // 1e10
    Pow(0xBA43B74000000000ULL, 0x4023), // 1e11
    Pow(0xE8D4A51000000000ULL, 0x4026), // 1e12
    Pow(0x9184E72A00000000ULL, 0x402A), // 1e13
    Pow(0xB5E620F480000000ULL, 0x402D), // 1e14
    Pow(0xE35FA931A0000000ULL, 0x4030), // 1e15
    Pow(0x8E1BC9BF04000000ULL, 0x4034), // 1e16
    Pow(0xB1A2BC2EC5000000ULL, 0x4037), // 1e17
    Pow(0xDE0B6B3A76400000ULL, 0x403A), // 1e18
    Pow(0x8AC7230489E80000ULL, 0x403E), // 1e19
    Pow(0xAD78EBC5AC620000ULL, 0x4041), // 1e20
    Pow(0xD8D726B7177A8000ULL, 0x4044), // 1e21
    Pow(0x878678326EAC9000ULL, 0x4048), // 1e22
    Pow(0xA968163F0A57B400ULL, 0x404B), // 1e23
    Pow(0xD3C21BCECCEDA100ULL, 0x404E), // 1e24
    Pow(0x84595161401484A0ULL, 0x4052), // 1e25
    Pow(0xA56FA5B99019A5C8ULL, 0x4055), // 1e26
    Pow(0xCECB8F27F4200F3AULL, 0x4058), // 1e27
    Pow(0x813F3978F8940984ULL, 0x405C), // 1e28
    Pow(0xA18F07D736B90BE5ULL, 0x405F), // 1e29
    Pow(0xC9F2C9CD04674EDFULL, 0x4062), // 1e30
    Pow(0xFC6F7C4045812296ULL, 0x4065), // 1e31
};
constexpr TVelExtended kPow10Thirty2s[16] = {
    Pow(0x8000000000000000ULL, 0x3FFF), // 1e0
    Pow(0x9DC5ADA82B70B59EULL, 0x4069), // 1e32
    Pow(0xC2781F49FFCFA6D5ULL, 0x40D3), // 1e64
    Pow(0xEFB3AB16C59B14A3ULL, 0x413D), // 1e96
    Pow(0x93BA47C980E98CE0ULL, 0x41A8), // 1e128
    Pow(0xB616A12B7FE617AAULL, 0x4212), // 1e160
    Pow(0xE070F78D3927556BULL, 0x427C), // 1e192
    Pow(0x8A5296FFE33CC930ULL, 0x42E7), // 1e224
    Pow(0xAA7EEBFB9DF9DE8EULL, 0x4351), // 1e256
    Pow(0xD226FC195C6A2F8CULL, 0x43BB), // 1e288
    Pow(0x81842F29F2CCE376ULL, 0x4426), // 1e320
    Pow(0x9FA42700DB900AD2ULL, 0x4490), // 1e352
    Pow(0xC4C5E310AEF8AA17ULL, 0x44FA), // 1e384
    Pow(0xF28A9C07E9B09C59ULL, 0x4564), // 1e416
    Pow(0x957A4AE1EBF7F3D4ULL, 0x45CF), // 1e448
    Pow(0xB83ED8DC0795A262ULL, 0x4639), // 1e480
};
constexpr TVelExtended kPow10FiveTwelves[10] = {
    Pow(0x8000000000000000ULL, 0x3FFF), // 1e0
    Pow(0xE319A0AEA60E91C7ULL, 0x46A3), // 1e512
    Pow(0xC976758681750C17ULL, 0x4D48), // 1e1024
    Pow(0xB2B8353B3993A7E4ULL, 0x53ED), // 1e1536
    Pow(0x9E8B3B5DC53D5DE5ULL, 0x5A92), // 1e2048
    Pow(0x8CA554C020A1F0A6ULL, 0x6137), // 1e2560
    Pow(0xF9895D25D88B5A8BULL, 0x67DB), // 1e3072
    Pow(0xDD5DC8A2BF27F3F8ULL, 0x6E80), // 1e3584
    Pow(0xC46052028A20979BULL, 0x7525), // 1e4096
    Pow(0xAE3511626ED559F0ULL, 0x7BCA), // 1e4608
};

// The bounds of an 18-digit integer, half a unit outside: 999999999999999999.5 and
// 99999999999999999.5.
constexpr TVelExtended kEighteenDigitsTop = Pow(0xDE0B6B3A763FFFF8ULL, 0x403A);
constexpr TVelExtended kEighteenDigitsBottom = Pow(0xB1A2BC2EC4FFFFC0ULL, 0x4037);

// Largest first, so a tiny value is lifted (or a huge one lowered) into range before the
// remaining factors apply and no intermediate leaves the extended range.
TVelExtended ScaleByPow10(TVelExtended y, int s)
{
    const bool up = s >= 0;
    const unsigned u = up ? unsigned(s) : unsigned(-s);
    const unsigned big = u >> 9, mid = (u >> 5) & 15, small = u & 31;
    if (up) {
        if (big)
            y *= kPow10FiveTwelves[big];
        if (mid)
            y *= kPow10Thirty2s[mid];
        if (small)
            y *= kPow10Ones[small];
    } else {
        if (big)
            y /= kPow10FiveTwelves[big];
        if (mid)
            y /= kPow10Thirty2s[mid];
        if (small)
            y /= kPow10Ones[small];
    }
    return y;
}

constexpr char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                               "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                               "8081828384858687888990919293949596979899";

// Writes n (< 10^18) as exactly 18 digits.
void WriteEighteenDigits(char* out, uint64_t n)
{
    const uint32_t hi = uint32_t(n / 1000000000ULL);
    const uint32_t lo = uint32_t(n % 1000000000ULL);
    auto nine = [](char* p, uint32_t v) {
        p[8] = char('0' + v % 10);
        v /= 10;
        for (int i = 6; i >= 0; i -= 2) {
            const uint32_t pair = v % 100;
            v /= 100;
            p[i] = kDigitPairs[2 * pair];
            p[i + 1] = kDigitPairs[2 * pair + 1];
        }
    };
    nine(out, hi);
    nine(out + 9, lo);
}

} // namespace

int TFloatRec::DigitCount() const
{
    return int(std::strlen(Digits));
}

TFloatRec FloatToDecimal(TVelExtended value, int precision, int decimals)
{
    TFloatRec rec;
    const TVelExtendedBits bits = value.Bits();
    const unsigned exponentField = bits.SignExponent & 0x7FFFu;
    const bool negative = (bits.SignExponent & 0x8000u) != 0;
    if (exponentField == 0)
        return rec; // zero; the pseudo-denormals below 2^-16382 go with it
    if (exponentField == 0x7FFF) {
        // An all-ones exponent is infinity when the fraction below the integer bit is empty,
        // whatever the integer bit says; everything else there is not-a-number.
        if ((bits.Mantissa << 1) == 0) {
            rec.Exponent = TFloatRec::InfExponent;
            rec.Negative = negative;
        } else {
            rec.Exponent = TFloatRec::NanExponent;
        }
        return rec;
    }
    if (bits.Mantissa == 0)
        return rec; // an unnormal zero; nothing sensible to print but 0

    // Base-2 exponent of the top set bit, so unnormals (integer bit clear) are measured right.
    const int topBit = 63 - std::countl_zero(bits.Mantissa);
    const int e2 = int(exponentField) - 16383 - 63 + topBit;
    int exponent = ((e2 * 19728) >> 16) + 1;

    TVelExtended y = ScaleByPow10(value.Abs(), 18 - exponent);
    // The estimate above can be one too small, and for a few negative e2 (-681, -877, ...) one
    // too large, which would leave a leading zero among the 18 digits. Normalise both ways.
    while (y >= kEighteenDigitsTop) {
        y /= 10;
        ++exponent;
    }
    while (y < kEighteenDigitsBottom) {
        y *= 10;
        --exponent;
    }
    uint64_t n = uint64_t(y.RoundToInt64()); // ties to even

    precision = std::clamp(precision, 1, TFloatRec::MaxDigits);
    const long long wanted = std::min<long long>(static_cast<long long>(exponent) + decimals, precision);
    if (wanted < 0)
        return rec;
    const int keep = int(wanted);
    if (keep < TFloatRec::MaxDigits) {
        const uint64_t unit = kPow10[TFloatRec::MaxDigits - keep];
        const uint64_t rest = n % unit;
        n -= rest;
        if (rest >= unit / 2)
            n += unit;
        if (n == kPow10[18]) {
            n = kPow10[17];
            ++exponent;
        }
    }
    rec.Exponent = int16_t(exponent);
    if (n == 0)
        return rec; // rounded away entirely: unsigned, exponent as computed
    rec.Negative = negative;
    WriteEighteenDigits(rec.Digits, n);
    int count = TFloatRec::MaxDigits;
    while (rec.Digits[count - 1] == '0')
        --count;
    rec.Digits[count] = '\0';
    return rec;
}

namespace {

// Worst case is a grouped 18-digit integer with 18 decimals: 1 + 18 + 5 + 1 + 18 characters.
class TTextBuffer {
public:
    void Put(char16_t c) { buf_[len_++] = c; }
    void Put(QChar c) { buf_[len_++] = c.unicode(); }
    void Put(const char* s, int count)
    {
        for (int i = 0; i < count; ++i)
            buf_[len_++] = char16_t(s[i]);
    }
    void Zeros(int count)
    {
        for (int i = 0; i < count; ++i)
            buf_[len_++] = u'0';
    }
    void Unsigned(unsigned v, int minDigits)
    {
        char tmp[12];
        int n = 0;
        do {
            tmp[n++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        Zeros(minDigits - n);
        while (n)
            buf_[len_++] = char16_t(tmp[--n]);
    }
    QString ToString() const { return QString(reinterpret_cast<const QChar*>(buf_), len_); }
    QStringView View() const { return QStringView(buf_, len_); }

private:
    char16_t buf_[64];
    qsizetype len_ = 0;
};

bool IsNonNumber(const TFloatRec& rec)
{
    return rec.Exponent == TFloatRec::InfExponent || rec.Exponent == TFloatRec::NanExponent;
}

void PutGeneral(TTextBuffer& out, const TFloatRec& rec, int precision, int expDigits, QChar decimal)
{
    if (rec.Exponent == TFloatRec::InfExponent) {
        if (rec.Negative)
            out.Put(u'-');
        out.Put("INF", 3);
        return;
    }
    if (rec.Exponent == TFloatRec::NanExponent) {
        out.Put("NAN", 3);
        return;
    }
    if (rec.Negative)
        out.Put(u'-');
    const int count = rec.DigitCount();
    if (count == 0) {
        out.Put(u'0');
        return;
    }
    const int e = rec.Exponent;
    if (e > precision || e < -3) {
        out.Put(char16_t(rec.Digits[0]));
        if (count > 1) {
            out.Put(decimal);
            out.Put(rec.Digits + 1, count - 1);
        }
        out.Put(u'E');
        if (e - 1 < 0)
            out.Put(u'-');
        out.Unsigned(unsigned(std::abs(e - 1)), expDigits);
    } else if (e <= 0) {
        out.Put(u'0');
        out.Put(decimal);
        out.Zeros(-e);
        out.Put(rec.Digits, count);
    } else {
        out.Put(rec.Digits, std::min(e, count));
        out.Zeros(e - count);
        if (count > e) {
            out.Put(decimal);
            out.Put(rec.Digits + e, count - e);
        }
    }
}

void PutExponent(TTextBuffer& out, const TFloatRec& rec, int precision, int expDigits, QChar decimal)
{
    if (rec.Negative)
        out.Put(u'-');
    const int count = rec.DigitCount();
    out.Put(count ? char16_t(rec.Digits[0]) : u'0');
    out.Put(decimal);
    const int tail = std::max(count - 1, 0);
    out.Put(rec.Digits + (count ? 1 : 0), tail);
    out.Zeros(precision - 1 - tail);
    out.Put(u'E');
    // Zero has no digit to place, so it reads E+00 rather than E-01.
    const int e = count ? rec.Exponent - 1 : 0;
    out.Put(e < 0 ? u'-' : u'+');
    out.Unsigned(unsigned(std::abs(e)), expDigits);
}

// Fixed and grouped forms of |x|; the sign is the caller's business.
void PutUnsignedFixed(TTextBuffer& out, const TFloatRec& rec, int decimals, QChar decimal, QChar thousand)
{
    const int count = rec.DigitCount();
    const int e = rec.Exponent;
    if (e <= 0) {
        out.Put(u'0');
    } else {
        for (int i = 0; i < e; ++i) {
            if (i > 0 && (e - i) % 3 == 0 && !thousand.isNull())
                out.Put(thousand);
            out.Put(i < count ? char16_t(rec.Digits[i]) : u'0');
        }
    }
    if (decimals <= 0)
        return;
    out.Put(decimal);
    const int leadingZeros = e < 0 ? std::min(-e, decimals) : 0;
    out.Zeros(leadingZeros);
    const int from = std::max(e, 0);
    const int fraction = std::clamp(count - from, 0, decimals - leadingZeros);
    out.Put(rec.Digits + std::min(from, count), fraction);
    out.Zeros(decimals - leadingZeros - fraction);
}

QString CurrencyText(const TFloatRec& rec, int decimals, const TFormatSettings& fs)
{
    TTextBuffer number;
    PutUnsignedFixed(number, rec, decimals, fs.DecimalSeparator, fs.ThousandSeparator);
    const char* pattern =
        rec.Negative ? NegativeCurrencyPattern(fs.NegCurrFormat) : PositiveCurrencyPattern(fs.CurrencyFormat);
    QString text;
    text.reserve(number.View().size() + fs.CurrencyString.size() + 4);
    for (const char* p = pattern; *p; ++p) {
        if (*p == '$')
            text += fs.CurrencyString;
        else if (*p == '*')
            text += number.View();
        else
            text += QLatin1Char(*p);
    }
    return text;
}

} // namespace

QString FloatToTextFmt(TVelExtended value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs)
{
    precision = std::clamp(precision, 2, TFloatRec::MaxDigits);
    TTextBuffer out;
    if (format == TFloatFormat::General || format == TFloatFormat::Exponent) {
        const int expDigits = (digits >= 0 && digits <= 4) ? digits : 0;
        // The exponent form always shows precision digits, so decimals never limit rounding.
        const TFloatRec rec = FloatToDecimal(value, precision, 9999);
        if (format == TFloatFormat::General || IsNonNumber(rec))
            PutGeneral(out, rec, precision, expDigits, fs.DecimalSeparator);
        else
            PutExponent(out, rec, precision, expDigits, fs.DecimalSeparator);
        return out.ToString();
    }

    const int decimals = std::clamp(digits, 0, TFloatRec::MaxDigits);
    const TFloatRec rec = FloatToDecimal(value, precision, decimals);
    if (IsNonNumber(rec) || rec.Exponent > precision) {
        PutGeneral(out, rec, precision, 0, fs.DecimalSeparator);
        return out.ToString();
    }
    if (format == TFloatFormat::Currency)
        return CurrencyText(rec, decimals, fs);
    if (rec.Negative)
        out.Put(u'-');
    const QChar thousand = format == TFloatFormat::Number ? fs.ThousandSeparator : QChar();
    PutUnsignedFixed(out, rec, decimals, fs.DecimalSeparator, thousand);
    return out.ToString();
}

QString FloatToGeneralText(double value)
{
    TTextBuffer out;
    PutGeneral(out, FloatToDecimal(value, 15, 9999), 15, 0, FormatSettings().DecimalSeparator);
    return out.ToString();
}
