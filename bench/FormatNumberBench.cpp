#include <benchmark/benchmark.h>

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

void BM_FormatConvertedVolWidestSpan(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(Ufiche::FormatConvertedVol(0, 6, 7.0L));
    }
}
BENCHMARK(BM_FormatConvertedVolWidestSpan);

}  // namespace
