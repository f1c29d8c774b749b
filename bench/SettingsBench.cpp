// A save and a restore of the window's settings, on the offscreen platform,
// with a settings file that already holds them.
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "Ufiche/window/TForm1.h"
#include "Ufiche/window/settings/FormStorage.h"

namespace {

void BM_SaveSettings(benchmark::State& state) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    auto* questionCount = form.findChild<QSpinBox*>("spMaxLigne");
    int save = 0;
    for (auto _ : state) {
        // Each save changes one value, so that the file is written.
        questionCount->setValue(save++ % 40 + 1);
        form.FormStorage1().SaveSettings();
    }
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_RestoreSettings(benchmark::State& state) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    form.FormStorage1().SaveSettings();
    for (auto _ : state) {
        form.FormStorage1().RestoreSettings();
    }
}
BENCHMARK(BM_RestoreSettings)->Unit(benchmark::kMicrosecond);

}  // namespace
