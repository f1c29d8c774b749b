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

// Where the save notice stands: centred, divisions truncated toward zero.
QPoint SaveNoticePosition(const QSize& clientSize, const QSize& noticeSize);

// The debug-time file's content: the executable's name without folder,
// " : ", the date and time; no line end.
QString CompileStampText(const QString& executablePath, const QString& dateTime);

}  // namespace Ufiche
