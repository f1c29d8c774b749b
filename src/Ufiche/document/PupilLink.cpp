#include "Ufiche/document/PupilLink.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/settings/SettingsTable.h"

namespace Ufiche {
namespace {

// Windows-1252: "é" is \xE9.
constexpr const char* kKindChange = "Le type d'exercices%s n'existe pas : longueurs.";
constexpr const char* kLevelChange = "Le niveau%s n'existe pas : niveau %d.";
constexpr const char* kCountChange = "Le nombre de questions%s n'est pas possible : %d question%s.";
constexpr const char* kCommaChange = "Le choix de la virgule%s n'existe pas (0 ou 1) : virgule.";
constexpr const char* kTwoUnitsChange =
    "Le choix des deux unit\xE9s%s n'existe pas (0 ou 1) : une seule unit\xE9.";
constexpr const char* kCodeChange = "Le code de la fiche n'est pas valide : fiche %s.";
constexpr const char* kAskedUnshown = " demand\xE9";
// A number longer than this is not written back in a message: the page shows
// what was asked only when it is short enough to read.
constexpr std::size_t kShownNumberLength = 6;
constexpr long long kSaturation = 1000000000;

// A message's pattern with its "%s" and "%d" filled in order.
std::string Filled(std::string_view pattern, const std::vector<std::string>& values) {
    std::string text;
    std::size_t next = 0;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern[at] == '%' && at + 1 < pattern.size() && next < values.size()) {
            text += values[next++];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A query value as the form that wrote it meant it: "+" a space, "%XX" a byte.
std::string Decoded(std::string_view value) {
    std::string text;
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (value[at] == '+') {
            text += ' ';
        } else if (value[at] == '%' && at + 2 < value.size() && HexValue(value[at + 1]) >= 0 &&
                   HexValue(value[at + 2]) >= 0) {
            text += static_cast<char>(HexValue(value[at + 1]) * 16 + HexValue(value[at + 2]));
            at += 2;
        } else {
            text += value[at];
        }
    }
    return text;
}

// The first value of `name` in the query, decoded; none when it is missing.
std::optional<std::string> ValueOf(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, end);
        query.remove_prefix(std::min(end + 1, query.size()));
        const std::size_t equals = std::min(pair.find('='), pair.size());
        if (Decoded(pair.substr(0, equals)) == name) {
            return Decoded(pair.substr(std::min(equals + 1, pair.size())));
        }
    }
    return std::nullopt;
}

// An integer value, saturated far beyond any limit; none when it is no integer.
std::optional<long long> IntegerOf(const std::string& text) {
    std::size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (at == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return std::nullopt;
        }
        value = std::min(value * 10 + (text[at] - '0'), kSaturation);
    }
    return text[0] == '-' ? -value : value;
}

// The value asked, as a message writes it after its setting's name.
std::string Asked(const std::string& text) {
    return IntegerOf(text) && text.size() <= kShownNumberLength ? " " + text : kAskedUnshown;
}

// A number within the limits of the window's setting `key`: the nearest when
// it is beyond them, the lower limit when it is no number.
int Limited(const std::optional<std::string>& text, std::string_view key, bool& changed) {
    const SettingRow& row = *FindSetting(key);
    const std::optional<long long> value = text ? IntegerOf(*text) : std::nullopt;
    const long long limited =
        value ? std::clamp<long long>(*value, row.Minimum, row.Maximum) : row.Minimum;
    changed = !value || limited != *value;
    return static_cast<int>(limited);
}

// "0" or "1"; `fallback` otherwise.
bool Choice(const std::optional<std::string>& text, bool fallback, bool& changed) {
    changed = text != "0" && text != "1";
    return changed ? fallback : text == "1";
}

}  // namespace

PupilLink ReadPupilLink(std::string_view query) {
    if (query.starts_with('?')) {
        query.remove_prefix(1);
    }
    PupilLink link;
    const auto asked = [query](std::string_view name) { return ValueOf(query, name); };
    const auto shown = [](const std::optional<std::string>& text) {
        return text ? Asked(*text) : std::string(kAskedUnshown);
    };
    bool changed = false;

    const std::optional<std::string> kind = asked("type");
    const int lastKind = static_cast<int>(Uconvers::QuantityKind::Duration);
    const std::optional<long long> kindNumber = kind ? IntegerOf(*kind) : std::nullopt;
    if (kindNumber && *kindNumber >= 0 && *kindNumber <= lastKind) {
        link.Kind = static_cast<Uconvers::QuantityKind>(*kindNumber);
    } else {
        link.Changes.push_back(Filled(kKindChange, {shown(kind)}));
    }

    const std::optional<std::string> level = asked("niveau");
    link.Level = Limited(level, "trbNiveau_Position", changed);
    if (changed) {
        link.Changes.push_back(Filled(kLevelChange, {shown(level), std::to_string(link.Level)}));
    }

    const std::optional<std::string> count = asked("lignes");
    link.QuestionCount = Limited(count, "spMaxLigne_Value", changed);
    if (changed) {
        link.Changes.push_back(Filled(
            kCountChange,
            {shown(count), std::to_string(link.QuestionCount), link.QuestionCount > 1 ? "s" : ""}));
    }

    const std::optional<std::string> comma = asked("virgule");
    link.DecimalComma = Choice(comma, true, changed);
    if (changed) {
        link.Changes.push_back(Filled(kCommaChange, {shown(comma)}));
    }

    const std::optional<std::string> twoUnits = asked("deuxunites");
    link.TwoUnitMeasures = Choice(twoUnits, false, changed);
    if (changed) {
        link.Changes.push_back(Filled(kTwoUnitsChange, {shown(twoUnits)}));
    }

    const std::optional<std::string> code = asked("code");
    const std::optional<std::uint32_t> parsed = code ? ParseSheetCode(*code) : std::nullopt;
    link.Code = parsed.value_or(0);
    if (!parsed) {
        link.Changes.push_back(Filled(kCodeChange, {SheetCodeText(link.Code)}));
    }
    return link;
}

std::string PupilLinkQuery(const PupilLink& link) {
    return "?eleve=1&type=" + std::to_string(static_cast<int>(link.Kind)) +
           "&niveau=" + std::to_string(link.Level) +
           "&lignes=" + std::to_string(link.QuestionCount) +
           "&virgule=" + (link.DecimalComma ? "1" : "0") +
           "&deuxunites=" + (link.TwoUnitMeasures ? "1" : "0") +
           "&code=" + SheetCodeText(link.Code);
}

}  // namespace Ufiche
