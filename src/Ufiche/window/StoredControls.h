#pragma once

#include <QString>

#include <vector>

#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/window/settings/FormStorage.h"

class QWidget;

namespace Ufiche {

// Binds every row of the settings table to the window's control of that name
// (a spin box or slider, a check box, a line edit, or a combo box for its
// text and for its list), after giving the control the row's limits and the
// desktop's starting value. The save dialog's folder, which no control shows,
// is bound to `saveDialogFolder`. In the table's order, as the file keeps
// them.
std::vector<StoredSetting> BindStoredControls(QWidget& form, QString& saveDialogFolder);

// What a generation reads from the bound controls: each field of a
// worksheet's settings from the setting of its key, texts in Windows-1252.
WorksheetSettings WorksheetSettingsOf(const std::vector<StoredSetting>& settings);

}  // namespace Ufiche
