#include <benchmark/benchmark.h>

#include "ExtendedComparison.h"

namespace {

#if FICHE_X87_LONG_DOUBLE

// Not a timing: a hundred million operand pairs of every magnitude class
// (one in ten a factor or multiplier of a unit table, one in ten a tie),
// each multiplied and added by the x87 unit and by the software type. The
// counter "mismatches" must read 0; a mismatch also marks the run as failed.
void BM_SoftwareExtendedAgreesWithX87OnAHundredMillionPairs(benchmark::State& state) {
    testsupport::ComparisonResult result;
    for (auto _ : state) {
        result = testsupport::CompareWithHardware(20260524, 100000000);
    }
    state.counters["pairs"] = static_cast<double>(result.pairs);
    state.counters["mismatches"] = static_cast<double>(result.mismatches);
    if (result.mismatches != 0) {
        state.SkipWithError(("first mismatch: " + result.firstMismatch).c_str());
    }
}
BENCHMARK(BM_SoftwareExtendedAgreesWithX87OnAHundredMillionPairs)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

#endif

}  // namespace
