#include "Ufiche/window/settings/SettingsRules.h"

#include <QDir>
#include <QFileInfo>

namespace Ufiche {

namespace {

// This program's folder in the user's configuration folder; empty when
// neither value gives an absolute folder. A relative value is no
// configuration folder: it would move with the folder the program was
// started from.
QString UserSettingsFolder(const QString& xdgConfigHome, const QString& home) {
    QString configHome;
    if (QDir::isAbsolutePath(xdgConfigHome)) {
        configHome = xdgConfigHome;
    } else if (QDir::isAbsolutePath(home)) {
        configHome = home + "/.config";
    } else {
        return {};
    }
    return QDir::cleanPath(configHome + "/fiches-conversions");
}

}  // namespace

QString SettingsFileName(const QString& executablePath) {
    const int nameStart = static_cast<int>(executablePath.lastIndexOf('/')) + 1;
    const int dot = static_cast<int>(executablePath.lastIndexOf('.'));
    const QString stem = dot > nameStart ? executablePath.left(dot) : executablePath;
    return stem + ".ini";
}

SettingsLocation BuiltSettingsLocation() {
#ifdef FICHE_USER_SETTINGS
    return SettingsLocation::UserConfiguration;
#else
    return SettingsLocation::BesideExecutable;
#endif
}

QString SettingsFileName(SettingsLocation location, const QString& executablePath,
                         const QString& xdgConfigHome, const QString& home) {
    const QString besideExecutable = SettingsFileName(executablePath);
    if (location == SettingsLocation::BesideExecutable) {
        return besideExecutable;
    }
    const QString folder = UserSettingsFolder(xdgConfigHome, home);
    if (folder.isEmpty()) {
        return besideExecutable;
    }
    return folder + "/" + QFileInfo(besideExecutable).fileName();
}

}  // namespace Ufiche
