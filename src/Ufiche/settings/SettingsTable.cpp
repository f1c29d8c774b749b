#include "Ufiche/settings/SettingsTable.h"

#include <algorithm>
#include <array>

#include "Commune/StoredText.h"

namespace Ufiche {
namespace {

// "Nom :", "Prénom :" and "Classe :" spread over the title line.
constexpr std::string_view kTitle =
    "Nom :                       Pr\xE9nom :                             Classe :";

constexpr std::array<std::string_view, 4> kInstructions{
    "Convertir en ",
    "En s\xE9parant correctement les tranches, veuillez convertir en ",
    "Convertissez en ",
    "",
};

constexpr std::string_view kSeparator =
    "-------------------------------------------------------------"
    "--------------------------------------------------------------";

constexpr std::array kRows{
    SettingRow{.Key = "spMaxLigne_Value",
               .Control = "spMaxLigne",
               .Kind = SettingKind::Integer,
               .Minimum = 1,
               .Maximum = 40,
               .Default = "25"},
    SettingRow{.Key = "spinterligne_Value",
               .Control = "spinterligne",
               .Kind = SettingKind::Integer,
               .Minimum = 0,
               .Maximum = 10,
               .Default = "1"},
    SettingRow{.Key = "eTitre1_Text",
               .Control = "eTitre1",
               .Kind = SettingKind::Text,
               .TextLimit = 160,
               .Default = kTitle},
    SettingRow{.Key = "eSepar_Text",
               .Control = "eSepar",
               .Kind = SettingKind::Text,
               .TextLimit = 230,
               .Default = kSeparator},
    SettingRow{.Key = "spCorriges_Value",
               .Control = "spCorriges",
               .Kind = SettingKind::Integer,
               .Minimum = 0,
               .Maximum = 999,
               .Default = "1"},
    SettingRow{.Key = "spSujets_Value",
               .Control = "spSujets",
               .Kind = SettingKind::Integer,
               .Minimum = 0,
               .Maximum = 999,
               .Default = "1"},
    // The save dialog's starting folder: nothing in the program changes it.
    SettingRow{.Key = "SaveDialog1_InitialDir",
               .Control = "SaveDialog1",
               .Kind = SettingKind::Text,
               .OnPage = false},
    SettingRow{.Key = "Combo1_Text",
               .Control = "Combo1",
               .Kind = SettingKind::Text,
               .Default = kInstructions[0]},
    SettingRow{.Key = "Combo1_Items",
               .Control = "Combo1",
               .Kind = SettingKind::List,
               .DefaultEntries = kInstructions},
    SettingRow{.Key = "CheckBox1_Checked",
               .Control = "CheckBox1",
               .Kind = SettingKind::Boolean,
               .Default = "True"},
    SettingRow{.Key = "trbNiveau_Position",
               .Control = "trbNiveau",
               .Kind = SettingKind::Integer,
               .Minimum = 1,
               .Maximum = 3,
               .Default = "1"},
    SettingRow{.Key = "ckbEdite_Checked",
               .Control = "ckbEdite",
               .Kind = SettingKind::Boolean,
               .Default = "False"},
    // Beyond the first version's keys: a desktop file without it gives the
    // point, as it always did; the page has no old files to keep meaning what
    // they meant, and French pupils write the comma.
    SettingRow{.Key = "ckbVirgule_Checked",
               .Control = "ckbVirgule",
               .Kind = SettingKind::Boolean,
               .Default = "False",
               .PageDefault = "True"},
    // Conversion tables in the documents: off, the documents stay as they
    // were without it.
    SettingRow{.Key = "ckbTableau_Checked",
               .Control = "ckbTableau",
               .Kind = SettingKind::Boolean,
               .Default = "False"},
    // Measures in two units: off, the documents stay as they were without it.
    SettingRow{.Key = "ckbDeuxUnites_Checked",
               .Control = "ckbDeuxUnites",
               .Kind = SettingKind::Boolean,
               .Default = "False"},
    // A different sheet for each subject printed or saved: off, a class set
    // is one sheet printed as often as asked. The page prints no class sets.
    SettingRow{.Key = "ckbSujetsDiff_Checked",
               .Control = "ckbSujetsDiff",
               .Kind = SettingKind::Boolean,
               .Default = "False",
               .OnPage = false},
};

}  // namespace

std::span<const SettingRow> SettingRows() {
    return kRows;
}

const SettingRow* FindSetting(std::string_view key) {
    const auto row =
        std::find_if(kRows.begin(), kRows.end(), [&](const SettingRow& r) { return r.Key == key; });
    return row == kRows.end() ? nullptr : &*row;
}

std::string_view DefaultOf(const SettingRow& row, Edition edition) {
    return edition == Edition::Page && row.PageDefault ? *row.PageDefault : row.Default;
}

std::size_t TextLimitOf(const SettingRow& row) {
    return row.TextLimit != 0 ? row.TextLimit : Commune::kStoredTextLimit;
}

int ClampToRow(const SettingRow& row, int value) {
    return std::clamp(value, row.Minimum, row.Maximum);
}

std::string ListSection(const SettingRow& row) {
    std::string section(kSettingsSection);
    return section.append(".").append(row.Key);
}

}  // namespace Ufiche
