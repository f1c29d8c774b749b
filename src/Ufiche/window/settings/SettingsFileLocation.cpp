#include "Ufiche/window/settings/SettingsFileLocation.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "Ufiche/window/settings/SettingsRules.h"
#include "platform/system/System.h"

namespace Ufiche {

QString LocateSettingsFile() {
    const SettingsLocation location = BuiltSettingsLocation();
#ifdef _WIN32
    // %LOCALAPPDATA%: Windows' counterpart of the configuration folder.
    const QString configHome =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString home;
#else
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString home = qEnvironmentVariable("HOME");
#endif
    const QString settingsFile =
        SettingsFileName(location, platform::ExecutablePath(), configHome, home);
    if (location == SettingsLocation::UserConfiguration) {
        platform::CreatePrivateFolder(QFileInfo(settingsFile).path());
    }
    return settingsFile;
}

}  // namespace Ufiche
