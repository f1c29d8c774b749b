// GoogleTest main for the tests that need a QApplication. Listing the tests
// (CTest's discovery at build time) needs no display, so the application is
// only created to run them; the platform comes from QT_QPA_PLATFORM, which
// CTest sets to "offscreen".
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
