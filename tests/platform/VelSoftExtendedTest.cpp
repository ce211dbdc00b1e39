// The software extended type must give what the x87 gives, bit for bit. Where the hardware is
// there, it is the reference: every operation on hard operands and on random ones is compared.

#include <gtest/gtest.h>

#include "VelExtended.h"
#include "VelSoftExtended.h"

#ifndef VELORIN_SOFT_EXTENDED

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using TNative = TVelNativeExtended;
using TSoft = TVelSoftExtended;

constexpr uint64_t kTop = 0x8000000000000000ULL;

struct Operand {
    const char* name;
    TVelExtendedBits bits;
};

// Operands where rounding, range and encoding are decided.
const Operand kOperands[] = {
    {"Zero", {0, 0}},
    {"NegativeZero", {0, 0x8000}},
    {"One", {kTop, 0x3FFF}},
    {"OnePlusLastBit", {kTop | 1, 0x3FFF}},
    {"JustBelowTwo", {~0ULL, 0x3FFF}},
    {"MinusThree", {0xC000000000000000ULL, 0xC000}},
    {"Ten", {0xA000000000000000ULL, 0x4002}},
    {"OneThird", {0xAAAAAAAAAAAAAAABULL, 0x3FFD}},
    {"EighteenNines", {0xDE0B6B3A763FFFF0ULL, 0x403A}},
    {"OneAndAHalfDoubleUlps", {kTop | (3ULL << 10), 0x3FFF}},
    {"HalfDoubleUlp", {kTop | (1ULL << 10), 0x3FFF}},
    {"TwoTo63", {kTop, 0x403E}},
    {"TwoTo64Less1", {~0ULL, 0x403E}},
    {"DoubleMax", {0xFFFFFFFFFFFFF800ULL, 0x43FE}},
    {"DoubleMaxAndAHalfUlp", {0xFFFFFFFFFFFFFC00ULL, 0x43FE}},
    {"DoubleSmallestNormal", {kTop, 0x3C01}},
    {"DoubleSmallestSubnormal", {kTop, 0x3BCD}},
    {"HalfDoubleSmallestSubnormal", {kTop, 0x3BCC}},
    {"ThreeHalvesDoubleSmallestSubnormal", {0xC000000000000000ULL, 0x3BCD}},
    {"RoundsToADoubleSubnormal", {0x825CBB225C245E46ULL, 0x3BFE}},
    {"Largest", {~0ULL, 0x7FFE}},
    {"SmallestNormal", {kTop, 0x0001}},
    {"LargestDenormal", {~kTop, 0}},
    {"SmallestDenormal", {1, 0}},
    {"NegativeDenormal", {0x123456789ULL, 0x8000}},
    {"PseudoDenormal", {kTop | 5, 0}},
    {"Unnormal", {0x4000000000000000ULL, 0x3FFF}},
    {"Infinity", {kTop, 0x7FFF}},
    {"NegativeInfinity", {kTop, 0xFFFF}},
    {"QuietNaN", {0xC000000000000000ULL, 0x7FFF}},
};

std::string Hex(TVelExtendedBits b)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04X:%016llX", unsigned(b.SignExponent),
                  static_cast<unsigned long long>(b.Mantissa));
    return buf;
}

// NaN payloads are the one thing the software type does not carry.
bool Same(TNative hardware, TSoft software)
{
    return hardware.IsNaN() ? software.IsNaN() : hardware.Bits() == software.Bits();
}

void ExpectSame(const char* what, const std::string& operands, TNative hardware, TSoft software)
{
    EXPECT_TRUE(Same(hardware, software))
        << what << " " << operands << ": " << Hex(hardware.Bits()) << " vs " << Hex(software.Bits());
}

// Every binary operation and comparison of a and b, on both types.
void CheckPair(TVelExtendedBits a, TVelExtendedBits b, const std::string& where)
{
    const TNative x = TNative::FromBits(a), y = TNative::FromBits(b);
    const TSoft s = TSoft::FromBits(a), t = TSoft::FromBits(b);
    const std::string operands = where + " on " + Hex(a) + ", " + Hex(b);
    ExpectSame("sum", operands, x + y, s + t);
    ExpectSame("difference", operands, x - y, s - t);
    ExpectSame("product", operands, x * y, s * t);
    ExpectSame("quotient", operands, x / y, s / t);
    const bool hardware[] = {x == y, x<y, x <= y, x> y, x >= y};
    const bool software[] = {s == t, s<t, s <= t, s> t, s >= t};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(hardware[i], software[i]) << "comparison " << i << " " << operands;
}

// Everything that takes one value: rounding to double and to integers, and the predicates.
void CheckOne(TVelExtendedBits a, const std::string& where)
{
    const TNative x = TNative::FromBits(a);
    const TSoft s = TSoft::FromBits(a);
    const std::string operand = where + " " + Hex(a);
    const double hd = static_cast<double>(x), sd = static_cast<double>(s);
    EXPECT_TRUE(std::bit_cast<uint64_t>(hd) == std::bit_cast<uint64_t>(sd) || (hd != hd && sd != sd))
        << "double of " << operand << ": " << hd << " vs " << sd;
    ExpectSame("integral value of", operand, x.RoundHalfEven(), s.RoundHalfEven());
    ExpectSame("negation of", operand, -x, -s);
    ExpectSame("magnitude of", operand, x.Abs(), s.Abs());
    EXPECT_EQ(x.IsNaN(), s.IsNaN()) << operand;
    EXPECT_EQ(x.IsFinite(), s.IsFinite()) << operand;
    EXPECT_EQ(x.SignBit(), s.SignBit()) << operand;
    // Beyond 2^63 the conversion's result is the compiler's business, not the format's.
    if (x.IsFinite() && x.Abs() < TNative::FromBits({kTop, 0x403E})) {
        EXPECT_EQ(x.ToInt64(), s.ToInt64()) << operand;
        EXPECT_EQ(x.RoundToInt64(), s.RoundToInt64()) << operand;
    }
}

TEST(SoftExtended, HardOperandsGiveTheHardwaresBits)
{
    for (const Operand& a : kOperands) {
        CheckOne(a.bits, a.name);
        for (const Operand& b : kOperands)
            CheckPair(a.bits, b.bits, std::string(a.name) + " and " + b.name);
    }
}

// Random operands in the bands where results round into subnormals, overflow, cancel or tie.
TVelExtendedBits RandomOperand(std::mt19937_64& rng)
{
    static constexpr int kBands[][2] = {{0x3FFF - 70, 0x3FFF + 70}, {0, 130},    {0x7FFE - 130, 0x7FFE},
                                        {0x3C01 - 70, 0x3C01 + 10}, {0, 0x7FFE}, {0x43FE - 10, 0x43FE + 2}};
    const auto& band = kBands[rng() % std::size(kBands)];
    const unsigned exponent = unsigned(band[0] + int(rng() % unsigned(band[1] - band[0] + 1)));
    uint64_t mantissa = rng();
    // Short mantissas make exact results and ties; long ones make every rounding.
    if (rng() & 1)
        mantissa &= ~0ULL << (rng() % 64);
    mantissa = exponent == 0 ? mantissa >> 1 : mantissa | kTop;
    return {mantissa, uint16_t(exponent | ((rng() & 1) ? 0x8000u : 0u))};
}

TEST(SoftExtended, RandomOperandsGiveTheHardwaresBits)
{
    std::mt19937_64 rng(24);
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        const TVelExtendedBits a = RandomOperand(rng);
        TVelExtendedBits b = RandomOperand(rng);
        // Neighbours of a, for cancellation in sums and differences.
        if (i % 4 == 0)
            b = {a.Mantissa + (rng() % 5) - 2, uint16_t(a.SignExponent ^ (rng() & 0x8000u))};
        CheckOne(a, "random");
        CheckPair(a, b, "random");
    }
}

TEST(SoftExtended, WideningIsExact)
{
    std::mt19937_64 rng(80);
    std::vector<double> doubles = {0.0,
                                   -0.0,
                                   1.0,
                                   0.1,
                                   5e-324,
                                   -2.2250738585072014e-308,
                                   1.7976931348623157e308,
                                   std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN()};
    for (int i = 0; i < 20000; ++i)
        doubles.push_back(std::bit_cast<double>(uint64_t(rng())));
    for (const double d : doubles)
        EXPECT_TRUE(Same(TNative(d), TSoft(d))) << d;
    const int64_t integers[] = {0, 1, -1, 10000, INT64_MAX, INT64_MIN, INT64_MIN + 1, int64_t(rng())};
    for (const int64_t n : integers)
        EXPECT_TRUE(Same(TNative(n), TSoft(n))) << n;
    EXPECT_TRUE(Same(TNative(UINT64_MAX), TSoft(UINT64_MAX)));
}

} // namespace

#endif
