#pragma once

// Extended values in tests that run on every architecture. A long double literal is the x87 format
// only on x86, so hard values are read from decimal text here, correctly rounded into the x87
// format by MPFR, and their exact decimal digits are printed by MPFR too.

#include <cstdint>
#include <string>
// MPFR declares its intmax_t functions only when <stdint.h> came first.
#include <mpfr.h>

#include "VelExtended.h"

namespace ExtendedSupport {

// MPFR writes x = 0.1b... * 2^e: the x87 holds 2^-16445 = 0.1 * 2^-16444 up to just below 2^16384.
class ScopedExtendedRange {
public:
    ScopedExtendedRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax())
    {
        mpfr_set_emin(-16444);
        mpfr_set_emax(16384);
    }
    ~ScopedExtendedRange()
    {
        mpfr_set_emin(emin_);
        mpfr_set_emax(emax_);
    }
    ScopedExtendedRange(const ScopedExtendedRange&) = delete;
    ScopedExtendedRange& operator=(const ScopedExtendedRange&) = delete;

private:
    mpfr_exp_t emin_, emax_;
};

// x: 64 bits of precision, subnormals already rounded, within the range above.
inline TVelExtendedBits BitsOf(mpfr_srcptr x)
{
    const unsigned sign = mpfr_signbit(x) ? 0x8000u : 0u;
    if (mpfr_nan_p(x))
        return {0xC000000000000000ULL, 0xFFFF};
    if (mpfr_inf_p(x))
        return {0x8000000000000000ULL, uint16_t(sign | 0x7FFFu)};
    if (mpfr_zero_p(x))
        return {0, uint16_t(sign)};
    const long e = long(mpfr_get_exp(x));
    MPFR_DECL_INIT(m, 64);
    mpfr_mul_2si(m, x, 64 - e, MPFR_RNDN);
    mpfr_abs(m, m, MPFR_RNDN);
    const uint64_t mantissa = mpfr_get_uj(m, MPFR_RNDN);
    const long biased = e + 16382;
    if (biased >= 1)
        return {mantissa, uint16_t(sign | unsigned(biased))};
    return {mantissa >> (1 - biased), uint16_t(sign)};
}

// Decimal text ("1e4000", "-1.25e-4000", "0.1") rounded to nearest even into the x87 format.
inline TVelExtended FromText(const char* text)
{
    const ScopedExtendedRange range;
    MPFR_DECL_INIT(x, 64);
    const int ternary = mpfr_strtofr(x, text, nullptr, 10, MPFR_RNDN);
    mpfr_subnormalize(x, ternary, MPFR_RNDN);
    return TVelExtended::FromBits(BitsOf(x));
}

// |v| with `digits` significant digits in printf's "%.*e" layout: "d.ddd...e+X". v is finite.
inline std::string Scientific(TVelExtended v, int digits)
{
    const TVelExtendedBits b = v.Bits();
    const int exponentField = b.SignExponent & 0x7FFF;
    const ScopedExtendedRange range;
    MPFR_DECL_INIT(x, 64);
    mpfr_set_uj(x, b.Mantissa, MPFR_RNDN);
    mpfr_mul_2si(x, x, (exponentField == 0 ? 1 : exponentField) - 16383 - 63, MPFR_RNDN);
    char buf[96];
    mpfr_snprintf(buf, sizeof buf, "%.*Re", digits - 1, x);
    return buf;
}

} // namespace ExtendedSupport
