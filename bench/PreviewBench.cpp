// The preview's work for a 40-question subject: its first two pages drawn
// into page files for an A4 printer, then both files drawn as the pictures.
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "RichEditEMFPrint/RichEditEMFPrint.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "platform/emf/EmfPicture.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

void BM_PreviewTwoPages(benchmark::State& state) {
    QTemporaryDir folder;
    platform::TRxRichEdit subject;
    Ufiche::MersenneRandomSource random(5);
    const auto sheet = Ufiche::BuildWorksheet(
        Uconvers::QuantityKind::Area, {3, 40, 2, "Titre", "Convertir en ", true, "-----"}, random);
    Ufiche::LoadRtfIntoPane(subject, sheet.Subject);
    // A printer of A4 paper at printer resolution, without a print service.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("unused.pdf"));
    const QRect frame(QPoint(0, 0), QPoint(21000, 29700));
    for (auto _ : state) {
        int start = 0;
        for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
            const QString file = folder.filePath(RichEditEMFPrint::PageFileName("Temp", page));
            start = RichEditEMFPrint::RenderPageToEMF(printer, subject, file, frame, start)
                        .nextPosition;
            benchmark::DoNotOptimize(platform::RenderEmfFile(file, QSize(420, 594)));
        }
    }
}
BENCHMARK(BM_PreviewTwoPages)->Unit(benchmark::kMillisecond);

}  // namespace
