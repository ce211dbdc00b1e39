#pragma once

#include <cstdint>

// The two fields of an extended value as the x87 stores them.
struct TVelExtendedBits {
    uint64_t Mantissa = 0;     // with the explicit integer bit
    uint16_t SignExponent = 0; // sign in the top bit, the exponent biased by 16383 below it

    friend constexpr bool operator==(const TVelExtendedBits&, const TVelExtendedBits&) = default;
};
