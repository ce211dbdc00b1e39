#pragma once

// The program computes in the x87 80-bit extended format: 64-bit mantissa, 15-bit exponent,
// subnormals, rounding to nearest even. Every printed, shown and exported digit depends on it, so
// it must be that format on every architecture, not whatever `long double` happens to be there
// (a 113-bit quad on arm64, a plain double on armhf). TVelExtended is that type: the hardware's
// own `long double` where it is the x87 format, the software one of VelSoftExtended.h elsewhere.
// Both offer the same operations; nothing outside these two files names `long double`.

#include "VelExtendedBits.h"

#ifdef VELORIN_SOFT_EXTENDED

#include "VelSoftExtended.h"
using TVelExtended = TVelSoftExtended;

#else

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384 &&
                  std::numeric_limits<long double>::min_exponent == -16381 &&
                  std::numeric_limits<long double>::has_denorm,
              "this architecture's long double is not the x87 format: configure with -DVELORIN_SOFT_EXTENDED=ON");

// The hardware's extended type behind the common interface; every operation is one instruction or
// a library call the compiler inlines, so this costs nothing over writing `long double` directly.
class TVelNativeExtended {
public:
    constexpr TVelNativeExtended() = default;
    constexpr TVelNativeExtended(double x) : v_(static_cast<long double>(x)) {}
    // A long double would silently pass through double and lose its extra bits.
    TVelNativeExtended(long double) = delete;
    template <std::integral I> constexpr TVelNativeExtended(I i) : v_(static_cast<long double>(i)) {}

    static constexpr TVelNativeExtended FromBits(TVelExtendedBits b)
    {
        return Wrap(std::bit_cast<long double>(TLayout{b.Mantissa, b.SignExponent, {}}));
    }
    TVelExtendedBits Bits() const
    {
        // Copied field by field: the padding bytes of a long double hold nothing defined.
        TVelExtendedBits b;
        std::memcpy(&b.Mantissa, &v_, sizeof b.Mantissa);
        std::memcpy(&b.SignExponent, reinterpret_cast<const unsigned char*>(&v_) + sizeof b.Mantissa,
                    sizeof b.SignExponent);
        return b;
    }

    // Rounded to nearest even, to a subnormal or an infinity where the range ends.
    constexpr explicit operator double() const { return static_cast<double>(v_); }
    // Truncated toward zero; the value must fit.
    constexpr int64_t ToInt64() const { return static_cast<int64_t>(v_); }
    // Rounded to the nearest integer, ties to even; the value must fit.
    int64_t RoundToInt64() const { return std::llrint(v_); }
    // The nearest integral value, ties to even.
    TVelNativeExtended RoundHalfEven() const { return Wrap(std::nearbyint(v_)); }

    TVelNativeExtended Abs() const { return Wrap(std::fabs(v_)); }
    bool IsNaN() const { return std::isnan(v_); }
    bool IsFinite() const { return std::isfinite(v_); }
    bool SignBit() const { return std::signbit(v_); }

    constexpr TVelNativeExtended operator-() const { return Wrap(-v_); }
    friend constexpr TVelNativeExtended operator+(TVelNativeExtended a, TVelNativeExtended b)
    {
        return Wrap(a.v_ + b.v_);
    }
    friend constexpr TVelNativeExtended operator-(TVelNativeExtended a, TVelNativeExtended b)
    {
        return Wrap(a.v_ - b.v_);
    }
    friend constexpr TVelNativeExtended operator*(TVelNativeExtended a, TVelNativeExtended b)
    {
        return Wrap(a.v_ * b.v_);
    }
    friend constexpr TVelNativeExtended operator/(TVelNativeExtended a, TVelNativeExtended b)
    {
        return Wrap(a.v_ / b.v_);
    }
    TVelNativeExtended& operator+=(TVelNativeExtended b) { return *this = *this + b; }
    TVelNativeExtended& operator-=(TVelNativeExtended b) { return *this = *this - b; }
    TVelNativeExtended& operator*=(TVelNativeExtended b) { return *this = *this * b; }
    TVelNativeExtended& operator/=(TVelNativeExtended b) { return *this = *this / b; }

    // IEEE comparisons: a NaN is unordered, +0 equals -0.
    friend constexpr bool operator==(TVelNativeExtended a, TVelNativeExtended b) { return a.v_ == b.v_; }
    friend constexpr bool operator<(TVelNativeExtended a, TVelNativeExtended b) { return a.v_ < b.v_; }
    friend constexpr bool operator<=(TVelNativeExtended a, TVelNativeExtended b) { return a.v_ <= b.v_; }
    friend constexpr bool operator>(TVelNativeExtended a, TVelNativeExtended b) { return a.v_ > b.v_; }
    friend constexpr bool operator>=(TVelNativeExtended a, TVelNativeExtended b) { return a.v_ >= b.v_; }

private:
    struct TLayout {
        uint64_t Mantissa;
        uint16_t SignExponent;
        uint16_t Padding[(sizeof(long double) - 10) / 2];
    };
    static_assert(sizeof(TLayout) == sizeof(long double));

    static constexpr TVelNativeExtended Wrap(long double v)
    {
        TVelNativeExtended x;
        x.v_ = v;
        return x;
    }

    long double v_ = 0;
};

using TVelExtended = TVelNativeExtended;

#endif
