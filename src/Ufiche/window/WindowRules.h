#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>

// The window's decisions, as functions a test calls without a window.
namespace Ufiche {

inline const QColor kLightGreen{0, 128, 0};
inline const QColor kLightRed{255, 0, 0};
inline const QColor kEntryColour{255, 255, 232};

// A generation setting changed: the light turns red unless the subject pane
// holds exactly one blank.
bool SettingChangeTurnsLightRed(const QString& subjectText);

// "(" + the number of characters of the separator line + ")".
QString SeparatorLengthCaption(const QString& separatorLine);

// The level track bar's hint.
QString LevelHint(int position);

// The print, save and preview buttons are enabled exactly while the subject
// pane's plain text is not empty.
bool SubjectButtonsEnabled(const QString& subjectPlainText);

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

// This program's folder in the user's configuration folder: $XDG_CONFIG_HOME,
// or $HOME/.config when that is unset or not an absolute path, followed by
// "fiches-conversions". Empty when neither gives an absolute folder.
QString UserSettingsFolder(const QString& xdgConfigHome, const QString& home);

// The settings file for a location, given the executable's path and the
// values of XDG_CONFIG_HOME and HOME. In the user's configuration folder the
// file keeps the name it has beside the executable; without a usable
// configuration folder it stays beside the executable.
QString SettingsFileName(SettingsLocation location, const QString& executablePath,
                         const QString& xdgConfigHome, const QString& home);

// The folder the save dialog opens in. A stored starting folder always
// stands. Without one, an installed program opens the teacher's documents
// folder, since the folder it was started from is often its own install
// folder, which a teacher cannot write; a copy kept in a folder or on a stick
// opens the folder it was started from, as it always has.
QString SaveDialogStartFolder(const QString& storedFolder, SettingsLocation location,
                              const QString& currentFolder, const QString& documentsFolder);

// Where the save notice stands: centred, divisions truncated toward zero.
QPoint SaveNoticePosition(const QSize& clientSize, const QSize& noticeSize);

// The debug-time file's content: the executable's name without folder,
// " : ", the date and time; no line end.
QString CompileStampText(const QString& executablePath, const QString& dateTime);

}  // namespace Ufiche
