#pragma once

// An exact decimal reference for the float-to-text conversion, built from the exact decimal
// printing of glibc (doubles) and MPFR (extended values). The conversion rounds from an 18-digit
// intermediate obtained by scaling in extended precision, which can differ from the exact
// expansion in its 18th digit; the candidates below accept both roundings wherever that
// difference can move the result.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ExtendedSupport.h"

namespace DecimalReference {

// |x| = 0.d1d2...d31 x 10^exponent, d1 != 0.
struct ExactDigits {
    std::string digits;
    int exponent = 0;
};

inline ExactDigits FromScientific(const char* buf)
{
    ExactDigits d;
    d.digits.push_back(buf[0]);
    d.digits.append(buf + 2, 30);
    d.exponent = std::atoi(std::strchr(buf, 'e') + 1) + 1;
    return d;
}

inline ExactDigits DigitsOf(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.30e", std::fabs(x));
    return FromScientific(buf);
}

inline ExactDigits DigitsOf(TVelExtended x)
{
    return FromScientific(ExtendedSupport::Scientific(x, 31).c_str());
}

struct Rounded {
    std::string digits; // without trailing zeros; empty when rounded away
    int exponent = 0;
};

inline Rounded RoundTo(const ExactDigits& d, int keep, bool up)
{
    Rounded r{d.digits.substr(0, std::size_t(keep)), d.exponent};
    if (up) {
        int i = keep - 1;
        while (i >= 0 && r.digits[std::size_t(i)] == '9')
            r.digits[std::size_t(i--)] = '0';
        if (i >= 0) {
            ++r.digits[std::size_t(i)];
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
// rounding half away from zero gives. Up to 15 kept digits, that is when the exact digits after
// the rounding position read "499" or "500". Beyond that the intermediate's own last digit is in
// doubt: it may be either integer neighbour of the exact scaled value, and each rounds on its own.
inline std::vector<Rounded> Candidates(const ExactDigits& d, int keep)
{
    const std::string next = d.digits.substr(std::size_t(keep), 3);
    std::vector<Rounded> out;
    if (next == "499" || next == "500")
        out = {RoundTo(d, keep, false), RoundTo(d, keep, true)};
    else
        out = {RoundTo(d, keep, d.digits[std::size_t(keep)] >= '5')};
    if (keep <= 15)
        return out;

    constexpr int kIntermediate = 18;
    ExactDigits low{d.digits.substr(0, kIntermediate), d.exponent};
    std::vector<ExactDigits> neighbours{low};
    if (d.digits.find_first_not_of('0', kIntermediate) != std::string::npos) {
        const Rounded up = RoundTo(d, kIntermediate, true);
        ExactDigits high{up.digits, up.exponent};
        high.digits.resize(kIntermediate, '0');
        neighbours.push_back(high);
    }
    for (ExactDigits& n : neighbours) {
        n.digits.resize(d.digits.size(), '0');
        out.push_back(RoundTo(n, keep, n.digits[std::size_t(keep)] >= '5'));
    }
    return out;
}

// Built from chars and substrings only: GCC 12 warns falsely (-Wrestrict) on literal assignments.
inline std::string GeneralLayout(bool negative, const Rounded& r, int precision = 15, char decimal = '.',
                                 int expDigits = 0)
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
    if (e > precision || e < -3) {
        s += r.digits[0];
        if (n > 1) {
            s += decimal;
            s.append(r.digits, 1);
        }
        s += 'E';
        if (e - 1 < 0)
            s += '-';
        const std::string magnitude = std::to_string(std::abs(e - 1));
        s.append(std::size_t(std::max(0, expDigits - int(magnitude.size()))), '0');
        s.append(magnitude);
    } else if (e <= 0) {
        s += '0';
        s += decimal;
        s.append(std::size_t(-e), '0');
        s.append(r.digits);
    } else {
        s.append(r.digits, 0, std::size_t(std::min(n, e)));
        s.append(std::size_t(std::max(0, e - n)), '0');
        if (n > e) {
            s += decimal;
            s.append(r.digits, std::size_t(e));
        }
    }
    return s;
}

// Fixed form; with a thousand separator other than '\0' the integer digits are grouped by three.
inline std::string FixedLayout(bool negative, const Rounded& r, int decimals, char decimal = '.', char thousand = '\0')
{
    const int e = r.exponent;
    const int n = int(r.digits.size());
    std::string s;
    if (negative && n > 0)
        s += '-';
    if (e <= 0)
        s += '0';
    for (int i = 0; i < e; ++i) {
        if (thousand != '\0' && i > 0 && (e - i) % 3 == 0)
            s += thousand;
        s += i < n ? r.digits[std::size_t(i)] : '0';
    }
    if (decimals > 0)
        s += decimal;
    for (int j = 0; j < decimals; ++j) {
        const int i = e + j;
        s += (i >= 0 && i < n) ? r.digits[std::size_t(i)] : '0';
    }
    return s;
}

} // namespace DecimalReference
