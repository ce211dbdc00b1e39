// FloatToGeneralText runs for every label update and every exported cell; it should cost no
// more than the C library's "%.15g", which is what a plain port would have used, and stay within
// reach of std::to_chars, the standard library's conversion without locale or allocation.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include <QString>

#include "FloatToText.h"

namespace {

constexpr std::size_t kCount = 4096;

enum ValueSet { Quotients, Inputs, WideMagnitudes };

// The three results of one calculation: a product or quotient of two typed inputs.
std::vector<double> MakeQuotients(std::mt19937_64& rng)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> v;
    for (std::size_t i = 0; i < kCount; ++i) {
        const double volts = std::floor(unit(rng) * 1e5) / 100.0;
        const double ohms = std::floor(unit(rng) * 1e6 + 1) / 1000.0;
        v.push_back(i % 2 ? volts / ohms : volts * ohms);
    }
    return v;
}

// What the spin edits hold: 0 .. 1e6 with up to 10 decimals.
std::vector<double> MakeInputs(std::mt19937_64& rng)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> places(0, 10);
    std::vector<double> v;
    for (std::size_t i = 0; i < kCount; ++i) {
        const double scale = std::pow(10.0, places(rng));
        v.push_back(std::floor(unit(rng) * 1e6 * scale) / scale);
    }
    return v;
}

// Every finite bit pattern, subnormals included.
std::vector<double> MakeWide(std::mt19937_64& rng)
{
    std::vector<double> v;
    while (v.size() < kCount) {
        const uint64_t bits = rng();
        if (((bits >> 52) & 0x7FF) == 0x7FF)
            continue;
        double x;
        std::memcpy(&x, &bits, sizeof x);
        v.push_back(x);
    }
    return v;
}

// Generated once, in a fixed order, so every benchmark of a run sees the same numbers.
const std::vector<double>& Values(int set)
{
    static const struct TSets {
        std::vector<double> quotients, inputs, wide;
        TSets()
        {
            std::mt19937_64 rng(42);
            quotients = MakeQuotients(rng);
            inputs = MakeInputs(rng);
            wide = MakeWide(rng);
        }
    } sets;
    return set == Quotients ? sets.quotients : set == Inputs ? sets.inputs : sets.wide;
}

void BM_FloatToGeneralText(benchmark::State& state)
{
    const std::vector<double>& values = Values(int(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        QString text = FloatToGeneralText(values[i]);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % kCount;
    }
}

void BM_Snprintf(benchmark::State& state)
{
    const std::vector<double>& values = Values(int(state.range(0)));
    std::size_t i = 0;
    char buf[32];
    for (auto _ : state) {
        const int n = std::snprintf(buf, sizeof buf, "%.15g", values[i]);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(buf);
        i = (i + 1) % kCount;
    }
}

// The like-for-like comparison: the labels and cells need a QString either way.
void BM_SnprintfToQString(benchmark::State& state)
{
    const std::vector<double>& values = Values(int(state.range(0)));
    std::size_t i = 0;
    char buf[32];
    for (auto _ : state) {
        const int n = std::snprintf(buf, sizeof buf, "%.15g", values[i]);
        QString text = QString::fromLatin1(buf, n);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % kCount;
    }
}

// The same 15 significant digits, without a locale or a QString.
void BM_ToChars(benchmark::State& state)
{
    const std::vector<double>& values = Values(int(state.range(0)));
    std::size_t i = 0;
    char buf[32];
    for (auto _ : state) {
        const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, values[i], std::chars_format::general, 15);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(buf);
        i = (i + 1) % kCount;
    }
}

void ValueSets(benchmark::internal::Benchmark* b)
{
    b->ArgName("set")->Arg(Quotients)->Arg(Inputs)->Arg(WideMagnitudes);
}

} // namespace

BENCHMARK(BM_FloatToGeneralText)->Apply(ValueSets);
BENCHMARK(BM_Snprintf)->Apply(ValueSets);
BENCHMARK(BM_SnprintfToQString)->Apply(ValueSets);
BENCHMARK(BM_ToChars)->Apply(ValueSets);

BENCHMARK_MAIN();
