// The libFuzzer entry of one target, chosen by FICHE_FUZZ_TARGET at build
// time. The document reader needs a GUI application for its fonts.
#include <QGuiApplication>

#include <cstdlib>

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the process, never destroyed: Qt tears its own
    // state down at exit before static objects would go.
    static QGuiApplication* application = new QGuiApplication(*argc, *argv);
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FICHE_FUZZ_TARGET(data, size);
}
