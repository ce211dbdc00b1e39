#include "VelSoftExtended.h"

#include <cstdint>
// MPFR declares its intmax_t functions only when <stdint.h> came first.
#include <mpfr.h>

namespace {

constexpr mpfr_prec_t kPrecision = 64;
constexpr int kBias = 16383;
constexpr unsigned kExponentMask = 0x7FFF;
constexpr unsigned kSignBit = 0x8000;
constexpr uint64_t kIntegerBit = uint64_t(1) << 63;
// The x87's answer to an invalid operation: a negative quiet NaN.
constexpr TVelExtendedBits kDefaultNaN{kIntegerBit | (uint64_t(1) << 62), 0xFFFF};

// MPFR writes x = 0.1b... * 2^e. The x87's largest finite value is just below 2^16384, its
// smallest subnormal 2^-16445 = 0.1 * 2^-16444; with a double, 2^1024 and 2^-1074.
struct TRange {
    mpfr_exp_t Min, Max;
};
constexpr TRange kExtendedRange{-16444, 16384};
constexpr TRange kDoubleRange{-1073, 1024};

// MPFR's exponent range belongs to the thread; it is set for one operation and given back after,
// so nothing else in the process that uses MPFR sees it changed.
class TScopedRange {
public:
    explicit TScopedRange(TRange range) : saved_{mpfr_get_emin(), mpfr_get_emax()} { Set(range); }
    ~TScopedRange() { Set(saved_); }
    TScopedRange(const TScopedRange&) = delete;
    TScopedRange& operator=(const TScopedRange&) = delete;

    static void Set(TRange range)
    {
        mpfr_set_emin(range.Min);
        mpfr_set_emax(range.Max);
    }

private:
    TRange saved_;
};

// Encodings the x87 refuses as operands: an integer bit that disagrees with the exponent. Only the
// zero exponent may clear it (zeros and subnormals); set there, it is a pseudo-denormal the x87 takes.
bool IsUnsupported(TVelExtendedBits b)
{
    return (b.SignExponent & kExponentMask) != 0 && (b.Mantissa & kIntegerBit) == 0;
}

bool IsNaNBits(TVelExtendedBits b)
{
    if (IsUnsupported(b))
        return true;
    return (b.SignExponent & kExponentMask) == kExponentMask && (b.Mantissa << 1) != 0;
}

// Exact: every extended value fits 64 bits of precision within the extended range.
void Load(mpfr_ptr x, TVelExtendedBits b)
{
    const bool negative = (b.SignExponent & kSignBit) != 0;
    const int exponent = int(b.SignExponent & kExponentMask);
    if (IsNaNBits(b)) {
        mpfr_set_nan(x);
    } else if (exponent == int(kExponentMask)) {
        mpfr_set_inf(x, negative ? -1 : 1);
    } else if (b.Mantissa == 0) {
        mpfr_set_zero(x, negative ? -1 : 1);
    } else {
        // Subnormals (and the x87's pseudo-denormals) scale as if their exponent were 1.
        mpfr_set_uj(x, b.Mantissa, MPFR_RNDN);
        mpfr_mul_2si(x, x, (exponent == 0 ? 1 : exponent) - kBias - 63, MPFR_RNDN);
        if (negative)
            mpfr_neg(x, x, MPFR_RNDN);
    }
}

// x is a 64-bit value of the extended range whose subnormals have already been rounded.
TVelExtendedBits Store(mpfr_srcptr x)
{
    if (mpfr_nan_p(x))
        return kDefaultNaN;
    const unsigned sign = mpfr_signbit(x) ? kSignBit : 0;
    if (mpfr_inf_p(x))
        return {kIntegerBit, uint16_t(sign | kExponentMask)};
    if (mpfr_zero_p(x))
        return {0, uint16_t(sign)};
    const mpfr_exp_t e = mpfr_get_exp(x);
    MPFR_DECL_INIT(scaled, kPrecision);
    mpfr_mul_2si(scaled, x, kPrecision - e, MPFR_RNDN);
    mpfr_abs(scaled, scaled, MPFR_RNDN);
    const uint64_t mantissa = mpfr_get_uj(scaled, MPFR_RNDN);
    const long biased = long(e) + kBias - 1;
    if (biased >= 1)
        return {mantissa, uint16_t(sign | unsigned(biased))};
    return {mantissa >> (1 - biased), uint16_t(sign)};
}

using TBinary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

TVelExtendedBits Compute(TBinary op, TVelExtendedBits a, TVelExtendedBits b)
{
    const TScopedRange range(kExtendedRange);
    MPFR_DECL_INIT(x, kPrecision);
    MPFR_DECL_INIT(y, kPrecision);
    MPFR_DECL_INIT(r, kPrecision);
    Load(x, a);
    Load(y, b);
    const int ternary = op(r, x, y, MPFR_RNDN);
    mpfr_subnormalize(r, ternary, MPFR_RNDN);
    return Store(r);
}

// -1, 0, 1, or 2 when the two are unordered.
int Compare(TVelExtendedBits a, TVelExtendedBits b)
{
    if (IsNaNBits(a) || IsNaNBits(b))
        return 2;
    const TScopedRange range(kExtendedRange);
    MPFR_DECL_INIT(x, kPrecision);
    MPFR_DECL_INIT(y, kPrecision);
    Load(x, a);
    Load(y, b);
    const int c = mpfr_cmp(x, y);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

TVelSoftExtended::operator double() const
{
    const TScopedRange range(kExtendedRange);
    MPFR_DECL_INIT(x, kPrecision);
    MPFR_DECL_INIT(d, 53);
    Load(x, bits_);
    int ternary = mpfr_set(d, x, MPFR_RNDN);
    // Rounded to 53 bits with the wider exponent still in force; now into the double's range, where
    // a result below 2^-1022 becomes a subnormal in one rounding, never two.
    TScopedRange::Set(kDoubleRange);
    ternary = mpfr_check_range(d, ternary, MPFR_RNDN);
    mpfr_subnormalize(d, ternary, MPFR_RNDN);
    return mpfr_get_d(d, MPFR_RNDN);
}

int64_t TVelSoftExtended::ToInt64() const
{
    if (IsNaNBits(bits_))
        return INT64_MIN;
    const int exponent = int(bits_.SignExponent & kExponentMask) - kBias;
    if (exponent < 0)
        return 0;
    // What the x87 stores for a value out of range: the integer indefinite.
    if (exponent > 63)
        return INT64_MIN;
    const uint64_t magnitude = bits_.Mantissa >> (63 - exponent);
    if (SignBit())
        return magnitude > kIntegerBit ? INT64_MIN : int64_t(uint64_t(0) - magnitude);
    return magnitude >= kIntegerBit ? INT64_MIN : int64_t(magnitude);
}

int64_t TVelSoftExtended::RoundToInt64() const
{
    return RoundHalfEven().ToInt64();
}

TVelSoftExtended TVelSoftExtended::RoundHalfEven() const
{
    const TScopedRange range(kExtendedRange);
    MPFR_DECL_INIT(x, kPrecision);
    MPFR_DECL_INIT(r, kPrecision);
    Load(x, bits_);
    mpfr_rint(r, x, MPFR_RNDN);
    return FromBits(Store(r));
}

bool TVelSoftExtended::IsNaN() const
{
    return IsNaNBits(bits_);
}

bool TVelSoftExtended::IsFinite() const
{
    return !IsNaNBits(bits_) && (bits_.SignExponent & kExponentMask) != kExponentMask;
}

TVelSoftExtended operator+(TVelSoftExtended a, TVelSoftExtended b)
{
    return TVelSoftExtended::FromBits(Compute(mpfr_add, a.bits_, b.bits_));
}

TVelSoftExtended operator-(TVelSoftExtended a, TVelSoftExtended b)
{
    return TVelSoftExtended::FromBits(Compute(mpfr_sub, a.bits_, b.bits_));
}

TVelSoftExtended operator*(TVelSoftExtended a, TVelSoftExtended b)
{
    return TVelSoftExtended::FromBits(Compute(mpfr_mul, a.bits_, b.bits_));
}

TVelSoftExtended operator/(TVelSoftExtended a, TVelSoftExtended b)
{
    return TVelSoftExtended::FromBits(Compute(mpfr_div, a.bits_, b.bits_));
}

bool operator==(TVelSoftExtended a, TVelSoftExtended b)
{
    return Compare(a.bits_, b.bits_) == 0;
}

bool operator<(TVelSoftExtended a, TVelSoftExtended b)
{
    return Compare(a.bits_, b.bits_) == -1;
}

bool operator<=(TVelSoftExtended a, TVelSoftExtended b)
{
    const int c = Compare(a.bits_, b.bits_);
    return c == -1 || c == 0;
}
