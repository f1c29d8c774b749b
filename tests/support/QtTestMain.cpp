// GoogleTest main for the tests that need a QApplication. Listing the tests
// (CTest's discovery at build time) needs no display, so the application is
// only created to run them. CTest sets QT_QPA_PLATFORM; a test program run by
// hand without it runs offscreen too, rather than opening windows on the
// desktop or failing where there is no display.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
