// Random doubles against a reference built from glibc's exact decimal printing. The conversion
// rounds from an 18-digit intermediate; when the exact digits 16 to 18 (counted from the rounding
// position) read "499" or "500", that intermediate may legitimately round either way, so both
// texts are accepted there.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FloatToText.h"

namespace {

// |x| = 0.d1d2...d31 x 10^exponent, d1 != 0.
struct ExactDigits {
    std::string digits;
    int exponent = 0;
};

ExactDigits DigitsOf(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.30e", std::fabs(x));
    ExactDigits d;
    d.digits.push_back(buf[0]);
    d.digits.append(buf + 2, 30);
    d.exponent = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    return d;
}

struct Rounded {
    std::string digits;  // without trailing zeros; empty when rounded away
    int exponent = 0;
};

Rounded RoundTo(const ExactDigits& d, int keep, bool up)
{
    Rounded r{d.digits.substr(0, keep), d.exponent};
    if (up) {
        int i = keep - 1;
        while (i >= 0 && r.digits[i] == '9')
            r.digits[i--] = '0';
        if (i >= 0) {
            ++r.digits[i];
        } else {
            r.digits.assign(1, '1');
            ++r.exponent;
        }
    }
    while (!r.digits.empty() && r.digits.back() == '0')
        r.digits.pop_back();
    return r;
}

// Both roundings when the 18-digit intermediate could land on either side, else the one that
// rounding half away from zero gives.
std::vector<Rounded> Candidates(const ExactDigits& d, int keep)
{
    const std::string next = d.digits.substr(keep, 3);
    if (next == "499" || next == "500")
        return {RoundTo(d, keep, false), RoundTo(d, keep, true)};
    return {RoundTo(d, keep, d.digits[keep] >= '5')};
}

// Built from chars and substrings only: GCC 12 warns falsely (-Wrestrict) on literal assignments.
std::string GeneralLayout(bool negative, const Rounded& r)
{
    std::string s;
    if (r.digits.empty()) {
        s += '0';
        return s;
    }
    if (negative)
        s += '-';
    const int n = int(r.digits.size());
    const int e = r.exponent;
    if (e > 15 || e < -3) {
        s += r.digits[0];
        if (n > 1) {
            s += '.';
            s.append(r.digits, 1);
        }
        s += 'E';
        s.append(std::to_string(e - 1));
    } else if (e <= 0) {
        s += '0';
        s += '.';
        s.append(std::size_t(-e), '0');
        s.append(r.digits);
    } else {
        s.append(r.digits, 0, std::size_t(std::min(n, e)));
        s.append(std::size_t(std::max(0, e - n)), '0');
        if (n > e) {
            s += '.';
            s.append(r.digits, std::size_t(e));
        }
    }
    return s;
}

std::string FixedLayout(bool negative, const Rounded& r, int decimals)
{
    const int e = r.exponent;
    const int n = int(r.digits.size());
    std::string s;
    if (negative && n > 0)
        s += '-';
    if (e <= 0)
        s += '0';
    for (int i = 0; i < e; ++i)
        s += i < n ? r.digits[i] : '0';
    if (decimals > 0)
        s += '.';
    for (int j = 0; j < decimals; ++j) {
        const int i = e + j;
        s += (i >= 0 && i < n) ? r.digits[i] : '0';
    }
    return s;
}

double RandomValue(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double x = 0;
    switch (kind(rng)) {
    case 0: {  // any finite bit pattern, subnormals included
        uint64_t bits;
        do {
            bits = rng();
        } while (((bits >> 52) & 0x7FF) == 0x7FF);
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }
    case 1:  // everyday magnitudes
        x = std::pow(10.0, -20.0 + 40.0 * unit(rng)) * (1.0 + unit(rng));
        break;
    case 2: {  // what the spin edits hold: up to 10 decimals below a million
        const int places = std::uniform_int_distribution<int>(0, 10)(rng);
        const double scale = std::pow(10.0, places);
        x = std::floor(unit(rng) * 1e6 * scale) / scale;
        break;
    }
    default: {  // an Ohm's-law quotient of two such inputs
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
            ADD_FAILURE() << "value " << x << " with " << decimals << " decimals: got " << fixed
                          << ", expected one of " << expected;
        }
    }
}

} // namespace
