#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <type_traits>

#include "VelExtendedBits.h"

// The x87 extended format in software, for architectures whose own long double is another format.
// A value is held exactly as the x87 stores it. Widening a double or an integer is exact and done
// here on the bits; every operation that rounds is done by GNU MPFR at 64-bit precision inside the
// x87 exponent range with its subnormals, so each result is the one the x87 gives, bit for bit.
// Encodings the x87 rejects as operands (an integer bit that disagrees with the exponent) give
// its default NaN, as the hardware does; NaN payloads are not carried through.
class TVelSoftExtended {
public:
    constexpr TVelSoftExtended() = default;
    constexpr TVelSoftExtended(double x) : bits_(FromDouble(x)) {}
    // This architecture's long double is another format; it would pass through double unnoticed.
    TVelSoftExtended(long double) = delete;
    template <std::integral I> constexpr TVelSoftExtended(I i) : bits_(FromInteger(IsNegative(i), Magnitude(i))) {}

    static constexpr TVelSoftExtended FromBits(TVelExtendedBits b)
    {
        TVelSoftExtended x;
        x.bits_ = b;
        return x;
    }
    constexpr TVelExtendedBits Bits() const { return bits_; }

    explicit operator double() const;
    int64_t ToInt64() const;
    int64_t RoundToInt64() const;
    TVelSoftExtended RoundHalfEven() const;

    constexpr TVelSoftExtended Abs() const
    {
        return FromBits({bits_.Mantissa, uint16_t(bits_.SignExponent & 0x7FFFu)});
    }
    bool IsNaN() const;
    bool IsFinite() const;
    constexpr bool SignBit() const { return (bits_.SignExponent & 0x8000u) != 0; }

    constexpr TVelSoftExtended operator-() const
    {
        return FromBits({bits_.Mantissa, uint16_t(bits_.SignExponent ^ 0x8000u)});
    }
    friend TVelSoftExtended operator+(TVelSoftExtended a, TVelSoftExtended b);
    friend TVelSoftExtended operator-(TVelSoftExtended a, TVelSoftExtended b);
    friend TVelSoftExtended operator*(TVelSoftExtended a, TVelSoftExtended b);
    friend TVelSoftExtended operator/(TVelSoftExtended a, TVelSoftExtended b);
    TVelSoftExtended& operator+=(TVelSoftExtended b) { return *this = *this + b; }
    TVelSoftExtended& operator-=(TVelSoftExtended b) { return *this = *this - b; }
    TVelSoftExtended& operator*=(TVelSoftExtended b) { return *this = *this * b; }
    TVelSoftExtended& operator/=(TVelSoftExtended b) { return *this = *this / b; }

    // IEEE comparisons: a NaN is unordered, +0 equals -0.
    friend bool operator==(TVelSoftExtended a, TVelSoftExtended b);
    friend bool operator<(TVelSoftExtended a, TVelSoftExtended b);
    friend bool operator<=(TVelSoftExtended a, TVelSoftExtended b);
    friend bool operator>(TVelSoftExtended a, TVelSoftExtended b) { return b < a; }
    friend bool operator>=(TVelSoftExtended a, TVelSoftExtended b) { return b <= a; }

private:
    template <std::integral I> static constexpr bool IsNegative(I i)
    {
        if constexpr (std::is_signed_v<I>)
            return i < 0;
        else
            return false;
    }

    template <std::integral I> static constexpr uint64_t Magnitude(I i)
    {
        if constexpr (std::is_signed_v<I>)
            return i < 0 ? uint64_t(0) - uint64_t(i) : uint64_t(i);
        else
            return uint64_t(i);
    }

    static constexpr TVelExtendedBits FromInteger(bool negative, uint64_t magnitude)
    {
        if (magnitude == 0)
            return {};
        const int shift = std::countl_zero(magnitude);
        return {magnitude << shift, uint16_t((negative ? 0x8000u : 0u) | unsigned(16383 + 63 - shift))};
    }

    static constexpr TVelExtendedBits FromDouble(double x)
    {
        const auto bits = std::bit_cast<uint64_t>(x);
        const unsigned sign = (bits >> 63) != 0 ? 0x8000u : 0u;
        const unsigned exponent = unsigned(bits >> 52) & 0x7FFu;
        const uint64_t fraction = bits & ((uint64_t(1) << 52) - 1);
        constexpr uint64_t integerBit = uint64_t(1) << 63;
        if (exponent == 0x7FF) {
            // Loading a signalling NaN quietens it.
            const uint64_t quiet = fraction != 0 ? uint64_t(1) << 62 : 0;
            return {integerBit | quiet | (fraction << 11), uint16_t(sign | 0x7FFFu)};
        }
        if (exponent == 0) {
            if (fraction == 0)
                return {0, uint16_t(sign)};
            // A subnormal double is a normal extended value.
            const int shift = std::countl_zero(fraction);
            return {fraction << shift, uint16_t(sign | unsigned(16383 - 1074 + 63 - shift))};
        }
        return {integerBit | (fraction << 11), uint16_t(sign | (exponent - 1023 + 16383))};
    }

    TVelExtendedBits bits_;
};
