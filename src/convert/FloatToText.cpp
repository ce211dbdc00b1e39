#include "FloatToText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

// The scaling below relies on the x87 80-bit format: a 64-bit mantissa so that an 18-digit
// integer survives the product, and an exponent range wide enough for 10^4608.
static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent10 >= 4932,
              "FloatToText needs the 80-bit extended long double");

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

// Three small tables instead of one of ~10000 entries; any 10^s with |s| < 5120 is a product of
// one entry of each. Entries up to 10^27 are exact, so the everyday magnitudes (|s| <= 27) cost
// a single rounding.
constexpr long double kPow10Ones[32] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
                                        1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
                                        1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr long double kPow10Thirty2s[16] = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L, 1e192L, 1e224L,
                                            1e256L, 1e288L, 1e320L, 1e352L, 1e384L, 1e416L, 1e448L, 1e480L};
constexpr long double kPow10FiveTwelves[10] = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                               1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};

// Largest first, so a tiny value is lifted (or a huge one lowered) into range before the
// remaining factors apply and no intermediate leaves the extended range.
long double ScaleByPow10(long double y, int s)
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

struct TExtendedBits {
    uint64_t Mantissa; // with the explicit integer bit
    unsigned ExponentField;
    bool Negative;
};

TExtendedBits SplitExtended(long double value)
{
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    TExtendedBits bits;
    uint16_t signAndExponent;
    std::memcpy(&bits.Mantissa, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    bits.ExponentField = signAndExponent & 0x7FFFu;
    bits.Negative = (signAndExponent & 0x8000u) != 0;
    return bits;
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

TFloatRec FloatToDecimal(long double value, int precision, int decimals)
{
    TFloatRec rec;
    const TExtendedBits bits = SplitExtended(value);
    if (bits.ExponentField == 0)
        return rec; // zero; the pseudo-denormals below 2^-16382 go with it
    if (bits.ExponentField == 0x7FFF) {
        // An all-ones exponent is infinity when the fraction below the integer bit is empty,
        // whatever the integer bit says; everything else there is not-a-number.
        if ((bits.Mantissa << 1) == 0) {
            rec.Exponent = TFloatRec::InfExponent;
            rec.Negative = bits.Negative;
        } else {
            rec.Exponent = TFloatRec::NanExponent;
        }
        return rec;
    }
    if (bits.Mantissa == 0)
        return rec; // an unnormal zero; nothing sensible to print but 0

    // Base-2 exponent of the top set bit, so unnormals (integer bit clear) are measured right.
    const int topBit = 63 - std::countl_zero(bits.Mantissa);
    const int e2 = int(bits.ExponentField) - 16383 - 63 + topBit;
    int exponent = ((e2 * 19728) >> 16) + 1;

    long double y = ScaleByPow10(std::fabs(value), 18 - exponent);
    // The estimate above can be one too small, and for a few negative e2 (-681, -877, ...) one
    // too large, which would leave a leading zero among the 18 digits. Normalise both ways.
    while (y >= 999999999999999999.5L) {
        y /= 10;
        ++exponent;
    }
    while (y < 99999999999999999.5L) {
        y *= 10;
        --exponent;
    }
    uint64_t n = uint64_t(std::llrint(y)); // ties to even, the hardware default

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
    rec.Negative = bits.Negative;
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

QString FloatToTextFmt(long double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs)
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
