// Loading a 40-question subject into a pane, as a generation ends, and writing
// it back out, as saving does.

#include <benchmark/benchmark.h>
#include <QApplication>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

Ufiche::GeneratedWorksheet FortyQuestions(bool tables = false) {
    Ufiche::MersenneRandomSource random(2026);
    Ufiche::WorksheetSettings settings{
        3,
        40,
        1,
        "Nom :                       Pr\xE9nom :                             Classe :",
        "Convertir en ",
        true,
        std::string(123, '-')};
    settings.ConversionTables = tables;
    return Ufiche::BuildWorksheet(Uconvers::QuantityKind::Area, settings, random);
}

// With the argument 1 the pane is on screen (offscreen platform), so that the
// events that the load processes lay it out and paint it as in the window.
void ShowWhenAsked(platform::TRxRichEdit& pane, const benchmark::State& state) {
    if (state.range(0) == 1) {
        pane.resize(420, 300);
        pane.show();
        QApplication::processEvents();
    }
}

// The second argument 1: the subject with its empty conversion table.
void BM_LoadSubjectIntoPane(benchmark::State& state) {
    const std::string subject = FortyQuestions(state.range(1) == 1).Subject;
    platform::TRxRichEdit pane;
    ShowWhenAsked(pane, state);
    for (auto _ : state) {
        Ufiche::EmptyPane(pane);
        Ufiche::LoadRtfIntoPane(pane, subject);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * subject.size()));
}
BENCHMARK(BM_LoadSubjectIntoPane)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The second argument 1: the answer key with its conversion tables.
void BM_LoadAnswerKeyIntoPane(benchmark::State& state) {
    const std::string answerKey = FortyQuestions(state.range(1) == 1).AnswerKey;
    platform::TRxRichEdit pane;
    ShowWhenAsked(pane, state);
    for (auto _ : state) {
        Ufiche::EmptyPane(pane);
        Ufiche::LoadRtfIntoPane(pane, answerKey);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answerKey.size()));
}
BENCHMARK(BM_LoadAnswerKeyIntoPane)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_WriteSubjectOut(benchmark::State& state) {
    platform::TRxRichEdit pane;
    Ufiche::LoadRtfIntoPane(pane, FortyQuestions().Subject);
    pane.selectAll();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = pane.ContentForStream();
        bytes += static_cast<std::size_t>(rtf.size());
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_WriteSubjectOut)->Unit(benchmark::kMillisecond);

}  // namespace
