#include <benchmark/benchmark.h>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

// One 40-question worksheet of a kind at a level, subject and answer key.
void BM_BuildWorksheet(benchmark::State& state) {
    const auto kind = static_cast<Uconvers::QuantityKind>(state.range(0));
    const Ufiche::WorksheetSettings settings{
        static_cast<int>(state.range(1)), 40, 1, "Conversions", "Convertir en ", true,
        "------------------------------"};
    Ufiche::MersenneRandomSource random(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Ufiche::BuildWorksheet(kind, settings, random));
    }
}
BENCHMARK(BM_BuildWorksheet)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1, 2, 3}})
    ->ArgNames({"kind", "level"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
