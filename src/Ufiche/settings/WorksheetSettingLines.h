#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/settings/SettingsTable.h"

namespace Ufiche {

// Which setting of the table fills which field of a worksheet's settings;
// Name is the field's name, as the page names it too.
struct WorksheetSettingField {
    std::string_view Name;
    std::string_view Key;
    std::variant<int WorksheetSettings::*, bool WorksheetSettings::*,
                 std::string WorksheetSettings::*>
        Target;
};

std::span<const WorksheetSettingField> WorksheetSettingFields();

// The settings of one worksheet read from "key=value" lines under the
// settings table's keys ("spMaxLigne_Value=25", "eTitre1_Text=Nom :"), one a
// line, in any order. Integers read as the settings file's do and are
// brought within their rows' limits; booleans read "True" or "False" (another
// word keeps the starting value); texts are taken byte for byte, blanks and
// quotes included, as the teacher typed them. A missing key keeps the
// edition's starting value; other keys and lines are passed over.
WorksheetSettings ReadWorksheetSettingLines(std::string_view lines, Edition edition);

}  // namespace Ufiche
