// Random doubles against the exact decimal reference. The conversion rounds from an 18-digit
// intermediate; when the exact digits 16 to 18 (counted from the rounding position) read "499" or
// "500", that intermediate may legitimately round either way, so both texts are accepted there.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "DecimalReference.h"
#include "FloatToText.h"

namespace {

using namespace DecimalReference;

double RandomValue(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double x = 0;
    switch (kind(rng)) {
    case 0: { // any finite bit pattern, subnormals included
        uint64_t bits;
        do {
            bits = rng();
        } while (((bits >> 52) & 0x7FF) == 0x7FF);
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }
    case 1: // everyday magnitudes
        x = std::pow(10.0, -20.0 + 40.0 * unit(rng)) * (1.0 + unit(rng));
        break;
    case 2: { // what the spin edits hold: up to 10 decimals below a million
        const int places = std::uniform_int_distribution<int>(0, 10)(rng);
        const double scale = std::pow(10.0, places);
        x = std::floor(unit(rng) * 1e6 * scale) / scale;
        break;
    }
    default: { // an Ohm's-law quotient of two such inputs
        const double v = std::floor(unit(rng) * 1e5) / 100.0;
        const double r = std::floor(unit(rng) * 1e6 + 1) / 1000.0;
        x = v / r;
        break;
    }
    }
    return (rng() & 1) ? -x : x;
}

std::string Latin(const QString& s)
{
    return s.toStdString();
}

TEST(FloatToTextProperty, GeneralTextMatchesExactRounding)
{
    std::mt19937_64 rng(20261207);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 20; ++i) {
        const double x = RandomValue(rng);
        const std::string got = Latin(FloatToGeneralText(x));
        if (x == 0) {
            EXPECT_EQ(got, "0");
            continue;
        }
        const ExactDigits exact = DigitsOf(x);
        bool matched = false;
        std::string expected;
        for (const Rounded& r : Candidates(exact, 15)) {
            expected += GeneralLayout(std::signbit(x), r) + " ";
            matched = matched || got == GeneralLayout(std::signbit(x), r);
        }
        if (!matched) {
            ++failures;
            ADD_FAILURE() << "value " << exact.digits << "e" << exact.exponent << (std::signbit(x) ? " negative" : "")
                          << ": got " << got << ", expected one of " << expected;
        }
    }
}

TEST(FloatToTextProperty, FixedAndNumberMatchExactRounding)
{
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> decimalsOf(0, 8);
    int failures = 0;
    for (int i = 0; i < 100000 && failures < 20; ++i) {
        double x = RandomValue(rng);
        if (!(std::fabs(x) < 1e14))
            x = std::fmod(x, 1e14);
        const int decimals = decimalsOf(rng);
        const std::string fixed = Latin(FloatToTextFmt(x, TFloatFormat::Fixed, 15, decimals, TFormatSettings{}));
        std::string number = Latin(FloatToTextFmt(x, TFloatFormat::Number, 15, decimals, TFormatSettings{}));
        std::erase(number, ',');
        EXPECT_EQ(number, fixed) << "grouping changed more than the separators";

        std::string expected;
        bool matched = false;
        if (x == 0) {
            expected = FixedLayout(false, Rounded{}, decimals);
            matched = fixed == expected;
        } else {
            const ExactDigits exact = DigitsOf(x);
            const int keep = std::min(exact.exponent + decimals, 15);
            std::vector<Rounded> candidates;
            if (keep < 0)
                candidates.push_back(Rounded{});
            else
                candidates = Candidates(exact, keep);
            for (const Rounded& r : candidates) {
                const std::string text = FixedLayout(std::signbit(x), r, decimals);
                expected += text + " ";
                matched = matched || fixed == text;
            }
        }
        if (!matched) {
            ++failures;
            ADD_FAILURE() << "value " << x << " with " << decimals << " decimals: got " << fixed << ", expected one of "
                          << expected;
        }
    }
}

} // namespace
