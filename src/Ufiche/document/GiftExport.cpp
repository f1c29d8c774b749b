#include "Ufiche/document/GiftExport.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "RichText/Windows1252.h"
#include "Ufiche/generation/SheetCode.h"

namespace Ufiche {
namespace {

// Windows-1252: "é" is \xE9, "…" is \x85, superscript one, two and three are
// \xB9, \xB2 and \xB3.
constexpr std::array<const char*, 6> kKindNames = {"Longueurs",
                                                   "Surfaces",
                                                   "Volumes",
                                                   "Capacit\xE9s",
                                                   "Masses",
                                                   "Dur\xE9"
                                                   "es"};
constexpr const char* kCategoryRoot = "fiches-conversions";
constexpr char kOtherBlank = '\x85';

char Superscript(char digit) {
    switch (digit) {
        case '1':
            return '\xB9';
        case '2':
            return '\xB2';
        case '3':
            return '\xB3';
        default:
            return digit;
    }
}

void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '~':
        case '=':
        case '#':
        case '{':
        case '}':
        case ':':
        case '\\':
            out += '\\';
            break;
        default:
            break;
    }
    out += c;
}

// A question's name, from the base name, the sheet's code (so that two sheets
// of one base name never share names in a question bank) and the exercise's
// place.
std::string QuestionName(const std::string& baseName, const std::string& code, std::size_t index,
                         std::size_t part, std::size_t parts) {
    std::string name = baseName;
    name += ' ';
    name += code;
    name += ' ';
    name += std::to_string(index / 2 + 1);
    name += index % 2 == 0 ? 'a' : 'b';
    if (parts > 1) {
        name += '.';
        name += std::to_string(part + 1);
    }
    return name;
}

}  // namespace

std::string Utf8FromWindows1252(const std::string& text) {
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const char16_t unit = RichText::UnicodeFromWindows1252(static_cast<unsigned char>(c));
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (unit < 0x800) {
            utf8 += static_cast<char>(0xC0 | (unit >> 6));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (unit >> 12));
            utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return utf8;
}

std::string GiftText(const std::string& markup) {
    std::string text;
    bool superscript = false;
    std::size_t position = 0;
    while (position < markup.size()) {
        const char c = markup[position];
        if (c == '<') {
            // A tag runs to its ">" or to the end, as the documents read it.
            const std::size_t end = std::min(markup.find('>', position), markup.size());
            const std::string_view tag =
                std::string_view(markup).substr(position + 1, end - position - 1);
            const auto named = [tag](std::string_view name) {
                return tag.size() == name.size() &&
                       std::equal(tag.begin(), tag.end(), name.begin(), [](char a, char b) {
                           return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
                       });
            };
            if (named("sup") || named("/sup")) {
                superscript = named("sup");
            }
            position = end + 1;
            continue;
        }
        if (c == '\0') {
            // dropped, as a teacher's text drops it in the documents
        } else if (static_cast<unsigned char>(c) < 32) {
            text += ' ';  // a line break would end the question
        } else {
            AppendEscaped(text, superscript ? Superscript(c) : c);
        }
        ++position;
    }
    return text;
}

std::string GiftFile(const GeneratedWorksheet& sheet, const std::string& titleLine) {
    const auto kind = static_cast<std::size_t>(sheet.Kind);
    std::string gift = "$CATEGORY: ";
    gift += kCategoryRoot;
    gift += '/';
    gift += kind < kKindNames.size() ? kKindNames[kind] : kKindNames[0];
    gift += "/Niveau " + std::to_string(sheet.Level) + "\n\n";
    const std::string title = GiftText(titleLine);
    const bool titled = title.find_first_not_of(' ') != std::string::npos;
    const std::vector<WorksheetExercise> exercises = ExercisesOf(sheet);
    const std::string code = SheetCodeText(sheet.Code);
    for (std::size_t index = 0; index < exercises.size(); ++index) {
        const WorksheetExercise& exercise = exercises[index];
        const std::string question = GiftText(exercise.question);
        const std::size_t parts = exercise.answer.size();
        for (std::size_t part = 0; part < parts; ++part) {
            gift += "::" + GiftText(QuestionName(sheet.DefaultFileName, code, index, part, parts)) +
                    "::[html]";
            if (titled) {
                gift += "<p>" + title + "</p><p>";
            }
            gift += question;
            for (std::size_t blank = 0; blank < parts; ++blank) {
                gift += ' ';
                gift += blank == part ? '?' : kOtherBlank;
                gift += ' ';
                gift += GiftText(exercise.answer[blank].unit);
            }
            if (titled) {
                gift += "</p>";
            }
            // The numbers hold only digits and the point, which need no escape.
            gift += "{#" + exercise.answer[part].number + ":0}\n\n";
        }
    }
    return Utf8FromWindows1252(gift);
}

}  // namespace Ufiche
