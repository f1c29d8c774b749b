#include "Ufiche/settings/WorksheetSettingLines.h"

#include <algorithm>
#include <array>

#include "Commune/StoredText.h"

namespace Ufiche {
namespace {

// Every field of a worksheet's settings, under its key.
const std::array kFields{
    WorksheetSettingField{"Level", "trbNiveau_Position", &WorksheetSettings::Level},
    WorksheetSettingField{"QuestionCount", "spMaxLigne_Value", &WorksheetSettings::QuestionCount},
    WorksheetSettingField{"LineSpacing", "spinterligne_Value", &WorksheetSettings::LineSpacing},
    WorksheetSettingField{"TitleLine", "eTitre1_Text", &WorksheetSettings::TitleLine},
    WorksheetSettingField{"InstructionText", "Combo1_Text", &WorksheetSettings::InstructionText},
    WorksheetSettingField{"SeparatorShown", "CheckBox1_Checked",
                          &WorksheetSettings::SeparatorShown},
    WorksheetSettingField{"SeparatorLine", "eSepar_Text", &WorksheetSettings::SeparatorLine},
    WorksheetSettingField{"DecimalComma", "ckbVirgule_Checked", &WorksheetSettings::DecimalComma},
    WorksheetSettingField{"ConversionTables", "ckbTableau_Checked",
                          &WorksheetSettings::ConversionTables},
    WorksheetSettingField{"TwoUnitMeasures", "ckbDeuxUnites_Checked",
                          &WorksheetSettings::TwoUnitMeasures},
};

// Gives the field the value, when the row can read it.
void Assign(WorksheetSettings& settings, const WorksheetSettingField& field, const SettingRow& row,
            std::string_view value) {
    if (const auto* integer = std::get_if<int WorksheetSettings::*>(&field.Target)) {
        settings.*(*integer) =
            ClampToRow(row, Commune::DecodeInteger(Commune::TrimControls(value)));
    } else if (const auto* flag = std::get_if<bool WorksheetSettings::*>(&field.Target)) {
        if (const auto decoded = Commune::DecodeBoolean(Commune::TrimControls(value))) {
            settings.*(*flag) = *decoded;
        }
    } else {
        settings.*std::get<std::string WorksheetSettings::*>(field.Target) = std::string(value);
    }
}

}  // namespace

std::span<const WorksheetSettingField> WorksheetSettingFields() {
    return kFields;
}

WorksheetSettings ReadWorksheetSettingLines(std::string_view lines, Edition edition) {
    WorksheetSettings settings{};
    for (const WorksheetSettingField& field : kFields) {
        const SettingRow& row = *FindSetting(field.Key);
        Assign(settings, field, row, DefaultOf(row, edition));
    }
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        for (const WorksheetSettingField& field : kFields) {
            if (field.Key == line.substr(0, equals)) {
                Assign(settings, field, *FindSetting(field.Key), line.substr(equals + 1));
            }
        }
    }
    return settings;
}

}  // namespace Ufiche
