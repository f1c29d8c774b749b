#pragma once

#include <QColor>
#include <QString>

// What the window's state shows: the status light's colour and the buttons
// that need a subject.
namespace Ufiche {

// The light is green while the panes hold the worksheet of the settings
// shown, red once a generation setting has changed since.
inline const QColor kLightGreen{0, 128, 0};
inline const QColor kLightRed{255, 0, 0};

// A generation setting changed: the light turns red unless the subject pane
// holds exactly one blank.
bool SettingChangeTurnsLightRed(const QString& subjectText);

// The print, save and preview buttons are enabled exactly while the subject
// pane's plain text is not empty.
bool SubjectButtonsEnabled(const QString& subjectPlainText);

}  // namespace Ufiche
