// "Imprimer" with "Sujets différents": 30 different subjects of 25 questions
// and the answer key of each, every job to a PDF file, on the offscreen
// platform, with or without the conversion tables. The figures depend on the
// disk of the temporary folder.
#include <QCheckBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <deque>

#include "Ufiche/window/TForm1.h"

namespace {

void BM_PrintThirtyDifferentSubjectsWithTheirKeys(benchmark::State& state) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    std::deque<QPrinter> printers;
    form.SetPrinterForJob([&](const QString& suffix) -> QPrinter& {
        QPrinter& printer = printers.emplace_back(QPrinter::HighResolution);
        printer.setOutputFileName(folder.filePath("classe" + suffix + ".pdf"));
        return printer;
    });
    form.findChild<QSpinBox*>("spSujets")->setValue(30);
    form.findChild<QSpinBox*>("spCorriges")->setValue(1);
    form.findChild<QCheckBox*>("ckbTableau")->setChecked(state.range(0) != 0);
    form.findChild<QCheckBox*>("ckbSujetsDiff")->setChecked(true);
    form.findChild<QPushButton*>("btnLong")->click();
    for (auto _ : state) {
        form.findChild<QPushButton*>("btnImprime")->click();
        printers.clear();
    }
    state.counters["jobs"] = 60;
}
BENCHMARK(BM_PrintThirtyDifferentSubjectsWithTheirKeys)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("tables")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
