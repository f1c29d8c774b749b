#include <QIcon>
#include <QScreen>

#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/StartupProbe.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/system/QtFrench.h"

int main(int argc, char* argv[]) {
    platform::FicheApplication application(argc, argv);
    platform::InstallQtFrench(application);
    // The same words as the window's title, which Qt would otherwise follow
    // with the display name once more.
    QApplication::setApplicationDisplayName(Ufiche::texts::kWindowTitle);
    // Ties the window to the installed desktop entry and its icon; an
    // uninstalled build finds no icon in the theme and keeps the default.
    QGuiApplication::setDesktopFileName(QStringLiteral(FICHE_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(FICHE_APP_ID)));

    Ufiche::TForm1 form;
    // Centred on the screen at its first display.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    Ufiche::WatchFirstPaint(form);
    form.show();
    return QApplication::exec();
}
