// From a press of a quantity button to both panes loaded, 40 questions, on
// the offscreen platform, with or without the conversion tables.
#include <QCheckBox>
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "Ufiche/window/TForm1.h"

namespace {

void BM_GenerateWorksheetInWindow(benchmark::State& state) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
    form.findChild<QCheckBox*>("ckbTableau")->setChecked(state.range(1) != 0);
    const auto kind = static_cast<Uconvers::QuantityKind>(state.range(0));
    for (auto _ : state) {
        form.GenerateWorksheet(kind);
    }
}
BENCHMARK(BM_GenerateWorksheetInWindow)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})
    ->ArgNames({"kind", "tables"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
