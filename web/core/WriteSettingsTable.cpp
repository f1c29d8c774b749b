// Writes the page's table of stored settings, settings-table.js, from the
// core's table: keys, controls, kinds, limits and the page's starting values,
// in the file's order, and the keys of a worksheet's settings. Run by web/build.sh (node runs this
// program, built by emscripten with the core); the module goes to standard output.
#include <cstdio>
#include <string>
#include <string_view>

#include "Commune/StoredText.h"
#include "RichText/Windows1252.h"
#include "Ufiche/settings/SettingsTable.h"
#include "Ufiche/settings/WorksheetSettingLines.h"

namespace {

using Ufiche::SettingKind;
using Ufiche::SettingRow;

// A Windows-1252 text as a JavaScript string literal: the printable ASCII
// characters as they are, every other one as a \u escape of its UTF-16 unit.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const char16_t unit = RichText::UnicodeFromWindows1252(static_cast<unsigned char>(c));
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\') {
            quoted += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
            quoted += escape;
        }
    }
    return quoted + "\"";
}

std::string_view TypeName(SettingKind kind) {
    switch (kind) {
        case SettingKind::Integer:
            return "integer";
        case SettingKind::Boolean:
            return "boolean";
        case SettingKind::Text:
            return "text";
        case SettingKind::List:
            return "list";
    }
    return "";
}

// One row as an object of the page's table; the page's starting value as a
// number, a boolean, a string or an array of strings.
std::string RowObject(const SettingRow& row) {
    const std::string_view value = Ufiche::DefaultOf(row, Ufiche::Edition::Page);
    std::string object = "{ \"key\": " + Quoted(row.Key) + ", \"control\": " + Quoted(row.Control) +
                         ", \"type\": \"" + std::string(TypeName(row.Kind)) + "\", ";
    switch (row.Kind) {
        case SettingKind::Integer:
            object += "\"min\": " + std::to_string(row.Minimum) +
                      ", \"max\": " + std::to_string(row.Maximum) +
                      ", \"value\": " + std::to_string(Commune::DecodeInteger(value));
            break;
        case SettingKind::Boolean:
            object += "\"value\": ";
            object += Commune::DecodeBoolean(value).value_or(false) ? "true" : "false";
            break;
        case SettingKind::Text:
            object += "\"limit\": " + std::to_string(Ufiche::TextLimitOf(row)) +
                      ", \"value\": " + Quoted(value);
            break;
        case SettingKind::List: {
            object += "\"limit\": " + std::to_string(Ufiche::TextLimitOf(row)) +
                      ", \"section\": " + Quoted(Ufiche::ListSection(row)) + ", \"value\": [";
            const char* separator = "";
            for (const std::string_view entry : row.DefaultEntries) {
                object += separator + Quoted(entry);
                separator = ", ";
            }
            object += "]";
            break;
        }
    }
    return object + " }";
}

}  // namespace

int main() {
    std::string module =
        "// The stored settings as the desktop's core defines them (written when the\n"
        "// page is built; not edited by hand).\n";
    module += "export const SECTION = " + Quoted(Ufiche::kSettingsSection) + ";\n";
    module +=
        "export const STORED_TEXT_LIMIT = " + std::to_string(Commune::kStoredTextLimit) + ";\n";
    module += "export const MAX_LIST_ENTRIES = " + std::to_string(Commune::kMaxListEntries) + ";\n";
    module += "export const ROWS = [\n";
    for (const SettingRow& row : Ufiche::SettingRows()) {
        if (row.OnPage) {
            module += "  " + RowObject(row) + ",\n";
        }
    }
    module += "];\n";
    // The fields of a worksheet's settings under the keys that the core
    // reads them by (core.js writes them so).
    module += "export const WORKSHEET_KEYS = {\n";
    for (const Ufiche::WorksheetSettingField& field : Ufiche::WorksheetSettingFields()) {
        module += "  " + Quoted(field.Name) + ": " + Quoted(field.Key) + ",\n";
    }
    module += "};\n";
    std::fputs(module.c_str(), stdout);
    return std::ferror(stdout) ? 1 : 0;
}
