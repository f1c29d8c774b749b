#pragma once

#include <QString>

// Which settings file a run reads and writes.
namespace Ufiche {

// The settings file: the executable's full path with the extension of its
// file name (not of a folder) replaced by ".ini".
QString SettingsFileName(const QString& executablePath);

// Where the settings file is kept.
enum class SettingsLocation {
    // Beside the executable: a program copied into a folder or onto a USB
    // stick carries its settings with it.
    BesideExecutable,
    // In the user's configuration folder: an installed program's own folder
    // (/usr/bin) is not writable by the teachers who run it.
    UserConfiguration,
};

// The location this program was built for (FICHE_USER_SETTINGS).
SettingsLocation BuiltSettingsLocation();

// The settings file for a location, given the executable's path and the
// values of XDG_CONFIG_HOME and HOME. In the user's configuration folder
// ($XDG_CONFIG_HOME, or $HOME/.config when that is unset or not an absolute
// path, followed by "fiches-conversions") the file keeps the name it has
// beside the executable; without a usable configuration folder it stays
// beside the executable.
QString SettingsFileName(SettingsLocation location, const QString& executablePath,
                         const QString& xdgConfigHome, const QString& home);

}  // namespace Ufiche
