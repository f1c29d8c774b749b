// The core's RTF reader alone on a 40-question worksheet, subject and answer
// key, with or without the conversion tables, as a pane load reads it before
// the desktop builds its document.

#include <benchmark/benchmark.h>

#include <string>

#include "RichText/RtfReader.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

namespace {

void BM_ReadWorksheetRtf(benchmark::State& state) {
    Ufiche::MersenneRandomSource random(2026);
    Ufiche::WorksheetSettings settings{
        3, 40, 1, "Nom :   Classe :", "Convertir en ", true, std::string(123, '-')};
    settings.ConversionTables = state.range(1) == 1;
    const Ufiche::GeneratedWorksheet sheet =
        Ufiche::BuildWorksheet(Uconvers::QuantityKind::Area, settings, random);
    const std::string& rtf = state.range(0) == 1 ? sheet.AnswerKey : sheet.Subject;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RichText::ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadWorksheetRtf)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"answerKey", "tables"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
