#include "platform/system/QtFrench.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool InstallQtFrench(QCoreApplication& application) {
    // The locale is given, not taken from LANG: the program is French.
    const QLocale french(QLocale::French, QLocale::France);
    const QStringList folders = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
    };
    auto* translator = new QTranslator(&application);
    for (const QString& folder : folders) {
        if (translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            return QCoreApplication::installTranslator(translator);
        }
    }
    delete translator;
    return false;
}

}  // namespace platform
