#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The settings that both editions keep from one run to the next: each one's
// key, kind of value, limits and starting value, in the order the settings
// file keeps them. The window binds its controls to these rows; the page's
// table is written from them when the page is built. Texts are Windows-1252.
namespace Ufiche {

// The section of the settings file that holds the window's keys: fixed, so
// that renaming a class never changes the file.
inline constexpr std::string_view kSettingsSection = "TForm1";

enum class SettingKind {
    Integer,  // a decimal integer, brought within Minimum .. Maximum
    Boolean,  // "True" or "False"
    Text,     // one line of text
    List,     // texts in a section of their own: "Count", then "Item0", ...
};

// The two editions: a row may start from another value on the page.
enum class Edition { Desktop, Page };

struct SettingRow {
    // The control's name and property ("spMaxLigne_Value"): the file's key.
    std::string_view Key;
    // The control that shows the value, named alike in both editions.
    std::string_view Control;
    SettingKind Kind;
    int Minimum = 0;
    int Maximum = 0;
    // The most characters the control holds; 0 when only the file's limit
    // (kStoredTextLimit) holds it.
    std::size_t TextLimit = 0;
    // The value before anything was stored, spelled as the file spells it;
    // a list's entries.
    std::string_view Default{};
    std::span<const std::string_view> DefaultEntries{};
    // The page's own starting value, where it differs from the desktop's.
    std::optional<std::string_view> PageDefault{};
    // Whether the page keeps it (the save dialog's folder means nothing in a
    // browser).
    bool OnPage = true;
};

// Every stored setting, in the file's order.
std::span<const SettingRow> SettingRows();

// The row of a key; nothing when no row has it.
const SettingRow* FindSetting(std::string_view key);

// The value an edition starts from, as the file spells it.
std::string_view DefaultOf(const SettingRow& row, Edition edition);

// The most characters a text or a list entry of the row keeps.
std::size_t TextLimitOf(const SettingRow& row);

// A stored integer brought within the row's limits.
int ClampToRow(const SettingRow& row, int value);

// The section of a list's entries: "TForm1.Combo1_Items".
std::string ListSection(const SettingRow& row);

}  // namespace Ufiche
