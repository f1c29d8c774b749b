#include <benchmark/benchmark.h>

#include <string>

#include "Ufiche/document/Markup.h"

namespace {

// A question line of an answer key, repeated up to the requested size.
std::string MarkupOfSize(std::size_t size) {
    const std::string line =
        "1\xB0/   250 dam = <cf=jaune>2 500 m<cf=auto><tab><tab><tab>"
        "70 dm<sup>2</sup> = <cf=jaune>7 m<cf=auto>\\par<br><b>titre</b> ";
    std::string markup;
    while (markup.size() < size) {
        markup += line;
    }
    markup.resize(size);
    return markup;
}

void BM_MarkupToRtf(benchmark::State& state) {
    const std::string markup = MarkupOfSize(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Ufiche::MarkupToRtf(markup));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_MarkupToRtf)
    ->Arg(1 << 10)
    ->Arg(100 << 10)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
