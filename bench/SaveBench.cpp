// Saving a 40-question subject as "Enregistrer" does, over the file of the
// previous save: the new file goes beside the old one, is flushed to the disk
// and renamed over it. For comparison, the same bytes through Qt's QSaveFile,
// the way the worksheets were saved before they shared the settings file's
// routine. The figures depend on the disk of the temporary folder.

#include <benchmark/benchmark.h>
#include <QSaveFile>
#include <QTemporaryDir>

#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

std::string FortyQuestionSubject() {
    Ufiche::MersenneRandomSource random(2026);
    const Ufiche::WorksheetSettings settings{
        3,
        40,
        1,
        "Nom :                       Pr\xE9nom :                             Classe :",
        "Convertir en ",
        true,
        std::string(123, '-')};
    return Ufiche::BuildWorksheet(Uconvers::QuantityKind::Area, settings, random).Subject;
}

void BM_SaveSubjectOverThePreviousSave(benchmark::State& state) {
    QTemporaryDir folder;
    const QString name = folder.filePath("fiche.rtf");
    platform::TRxRichEdit pane;
    Ufiche::LoadRtfIntoPane(pane, FortyQuestionSubject());
    pane.SaveToFile(name);
    for (auto _ : state) {
        pane.SaveToFile(name);
    }
}
BENCHMARK(BM_SaveSubjectOverThePreviousSave)->Unit(benchmark::kMillisecond);

void BM_SaveSubjectThroughQSaveFile(benchmark::State& state) {
    QTemporaryDir folder;
    const QString name = folder.filePath("fiche.rtf");
    platform::TRxRichEdit pane;
    Ufiche::LoadRtfIntoPane(pane, FortyQuestionSubject());
    pane.SaveToFile(name);
    for (auto _ : state) {
        const QByteArray bytes = pane.ContentForStream();
        QSaveFile file(name);
        const bool saved = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                           file.flush() && file.commit();
        benchmark::DoNotOptimize(saved);
    }
}
BENCHMARK(BM_SaveSubjectThroughQSaveFile)->Unit(benchmark::kMillisecond);

}  // namespace
