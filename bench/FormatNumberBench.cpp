#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "Commune/Commune.h"
#include "Ufiche/generation/FixedPoint.h"
#include "Ufiche/generation/FormatNumber.h"

namespace {

void BM_FormatNumber(benchmark::State& state) {
    const extended values[] = {
        250.0L, 2500000.0L, 0.000037L, (3 * 0.1L + 7) + 0.1L, 49.75L, 999000000000000000000.0L};
    for (auto _ : state) {
        for (const extended value : values) {
            benchmark::DoNotOptimize(Ufiche::FormatNumber(value));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 6);
}
BENCHMARK(BM_FormatNumber);

// The same values through the decimal expansion that the integer path
// replaces: the cost per value before it.
void BM_FormatNumberThroughTheExpansion(benchmark::State& state) {
    const extended values[] = {
        250.0L, 2500000.0L, 0.000037L, (3 * 0.1L + 7) + 0.1L, 49.75L, 999000000000000000000.0L};
    for (auto _ : state) {
        for (const extended value : values) {
            benchmark::DoNotOptimize(Commune::GroupDigits(
                Commune::NormalizeNumber(Ufiche::ExpandedFixedPointText(value))));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 6);
}
BENCHMARK(BM_FormatNumberThroughTheExpansion);

void BM_FormatConvertedVolWidestSpan(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Ufiche::FormatConvertedVol(0, 6, 7.0L));
    }
}
BENCHMARK(BM_FormatConvertedVolWidestSpan);

// Not a timing: ten million values, random across all magnitudes from 10^-21
// to beyond 10^37 and exactly halfway between two texts at every rounding
// place the significand can hold, each written by the integer path and by the
// decimal expansion. The counter "mismatches" must read 0; a mismatch also
// marks the run as failed.
void BM_IntegerPathAgreesWithExpansionOnTenMillionValues(benchmark::State& state) {
    constexpr int kValues = 10000000;
    std::int64_t mismatches = 0;
    std::int64_t expanded = 0;
    extended firstMismatch = 0;
    for (auto _ : state) {
        std::mt19937_64 random(20261208);
        std::uniform_int_distribution<int> exponents(-72, 125);
        std::uniform_int_distribution<int> tieDigits(1, 19);
        for (int i = 0; i < kValues; ++i) {
            extended value = 0;
            if (i % 4 != 3) {
                const std::uint64_t significand = random() | (std::uint64_t{1} << 63);
                value = std::ldexp(static_cast<extended>(significand), exponents(random) - 63);
            } else {
                // A tie: an odd multiple of 2^-(19 - d) with d integer digits
                // (2^-18 below 10), or an odd multiple of 5 with 19 digits;
                // its neighbours come with it through the random exponents.
                const int digits = tieDigits(random);
                if (digits <= 18) {
                    const int shift = 19 - digits;
                    const auto top = static_cast<std::uint64_t>(std::pow(10.0L, digits)) << shift;
                    value = std::ldexp(static_cast<extended>((random() % top) | 1), -shift);
                } else {
                    value = static_cast<extended>((random() % 2000000000000000000u) | 1) * 5;
                }
                if (i % 8 == 7) {
                    value = std::nextafter(value, 1e40L);
                }
            }
            char text[Ufiche::kFixedPointTextCapacity];
            const std::size_t length = Ufiche::WriteFixedPointText(value, text);
            if (length == 0) {
                ++expanded;
                continue;
            }
            if (std::string(text, length) != Ufiche::ExpandedFixedPointText(value)) {
                if (mismatches++ == 0) {
                    firstMismatch = value;
                }
            }
        }
    }
    state.counters["values"] = kValues;
    state.counters["expansion_only"] = static_cast<double>(expanded);
    state.counters["mismatches"] = static_cast<double>(mismatches);
    if (mismatches != 0) {
        state.SkipWithError(
            ("integer path differs, first at " + std::to_string(static_cast<double>(firstMismatch)))
                .c_str());
    }
}
BENCHMARK(BM_IntegerPathAgreesWithExpansionOnTenMillionValues)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
