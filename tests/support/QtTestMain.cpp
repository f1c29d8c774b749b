// GoogleTest main for the tests that need a QApplication. Listing the tests
// (CTest's discovery at build time) needs no display, so the application is
// only created to run them. CTest sets QT_QPA_PLATFORM; a test program run by
// hand without it runs offscreen too, rather than opening windows on the
// desktop or failing where there is no display.
#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#ifndef _WIN32
    qputenv("CUPS_SERVER", "/dev/null/cups.sock");  // refused at once: no printer
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
#endif
    QApplication application(argc, argv);
#ifdef _WIN32
    // The offscreen platform on Windows reads the fonts of one folder and
    // knows no substitutes: the metric twins of the Windows fonts stand in
    // under their names, as fontconfig makes them on Linux.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
#endif
    return RUN_ALL_TESTS();
}
