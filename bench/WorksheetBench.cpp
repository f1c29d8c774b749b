#include <benchmark/benchmark.h>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

// One 40-question worksheet of a kind at a level, subject and answer key,
// plain (0), with the conversion tables (1) or with measures in two units (2).
void BM_BuildWorksheet(benchmark::State& state) {
    const auto kind = static_cast<Uconvers::QuantityKind>(state.range(0));
    Ufiche::WorksheetSettings settings{
        static_cast<int>(state.range(1)), 40, 1, "Conversions", "Convertir en ", true,
        "------------------------------"};
    settings.ConversionTables = state.range(2) == 1;
    settings.TwoUnitMeasures = state.range(2) == 2;
    Ufiche::MersenneRandomSource random(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Ufiche::BuildWorksheet(kind, settings, random));
    }
}
BENCHMARK(BM_BuildWorksheet)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {1, 2, 3}, {0, 1, 2}})
    ->ArgNames({"kind", "level", "extra"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
