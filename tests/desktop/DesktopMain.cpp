// GoogleTest main of the tests on a real desktop: an X server and a window
// manager of their own, and a private CUPS scheduler for the printer tests,
// all started before the application connects to them and stopped at the end.
#include <QApplication>

#include <gtest/gtest.h>

#include "Desktop.h"

XDesktop* desktop = nullptr;
PrivateCups* scheduler = nullptr;
QString whyNoScheduler;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    XDesktop x;
    QString whyNot;
    if (!x.Start(whyNot)) {
        // These tests exist to run on a real desktop: no desktop is a failure.
        fprintf(stderr, "no desktop for the tests: %s\n", qPrintable(whyNot));
        return 1;
    }
    desktop = &x;
    qputenv("DISPLAY", x.Display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    PrivateCups cups;
    if (cups.Start(whyNoScheduler)) {
        qputenv("CUPS_SERVER", cups.Server().toUtf8());
        scheduler = &cups;
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
