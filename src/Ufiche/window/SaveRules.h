#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include "Ufiche/window/settings/SettingsRules.h"

// Where the save dialog opens and where the save notice stands.
namespace Ufiche {

// The folder the save dialog opens in. A stored starting folder always
// stands. Without one, an installed program opens the teacher's documents
// folder, since the folder it was started from is often its own install
// folder, which a teacher cannot write; a copy kept in a folder or on a stick
// opens the folder it was started from, as it always has.
QString SaveDialogStartFolder(const QString& storedFolder, SettingsLocation location,
                              const QString& currentFolder, const QString& documentsFolder);

// Where the save notice stands: centred, divisions truncated toward zero.
QPoint SaveNoticePosition(const QSize& clientSize, const QSize& noticeSize);

}  // namespace Ufiche
