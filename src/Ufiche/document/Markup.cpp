#include "Ufiche/document/Markup.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "Ufiche/document/ColourTable.h"

namespace Ufiche {
namespace {

struct FixedTag {
    std::string_view name;
    std::string_view output;
};

constexpr std::array<FixedTag, 16> kStyleTags = {{
    {"b", "\\b "},
    {"/b", "\\b0 "},
    {"i", "\\i "},
    {"/i", "\\i0 "},
    {"u", "\\ul "},
    {"/u", "\\ul0 "},
    {"s", "\\strike "},
    {"/s", "\\strike0 "},
    {"sup", "\\super "},
    {"/sup", "\\nosupersub "},
    {"sub", "\\sub "},
    {"/sub", "\\nosupersub "},
    {"arial", "\\f0 "},
    {"times", "\\f1 "},
    {"courier", "\\f2 "},
    {"symbol", "\\f3 "},
}};

constexpr std::array<FixedTag, 2> kBreakTags = {{
    {"br", "\\par "},
    {"tab", "\\tab "},
}};

constexpr std::string_view kSizePrefix = "te=";

bool AppendFixedTag(std::string_view name, const auto& tags, std::string& output) {
    for (const auto& tag : tags) {
        if (name == tag.name) {
            output += tag.output;
            return true;
        }
    }
    return false;
}

// "te=" followed by anything: the size text is the name with every "te="
// removed, unchecked.
void AppendSizeTag(std::string_view name, std::string& output) {
    output += "\\fs";
    std::size_t position = 0;
    while (position < name.size()) {
        if (name.substr(position, kSizePrefix.size()) == kSizePrefix) {
            position += kSizePrefix.size();
        } else {
            output += name[position++];
        }
    }
    output += ' ';
}

// "ce=" (text colour) and "cf=" (highlight) with "auto", "automatique" or a
// colour word of the document's colour table.
bool AppendColourTag(std::string_view name, std::string_view prefix, std::string_view controlWord,
                     std::string& output) {
    if (!name.starts_with(prefix)) {
        return false;
    }
    const std::string_view word = name.substr(prefix.size());
    if (word == "auto" || word == "automatique") {
        output += controlWord;
        output += "0 ";
        return true;
    }
    for (std::size_t entry = 0; entry < kDocumentColours.size(); ++entry) {
        if (kDocumentColours[entry].word == word) {
            output += controlWord;
            output += std::to_string(entry + 1);
            output += ' ';
            return true;
        }
    }
    return false;
}

void AppendTag(std::string_view name, std::string& output) {
    // "<tab>" is the commonest tag; no break tag shares a name or a prefix
    // with the others, so the order of the checks changes nothing else.
    if (AppendFixedTag(name, kBreakTags, output) || AppendFixedTag(name, kStyleTags, output)) {
        return;
    }
    if (name.starts_with(kSizePrefix)) {
        AppendSizeTag(name, output);
        return;
    }
    if (!AppendColourTag(name, "ce=", "\\cf", output)) {
        AppendColourTag(name, "cf=", "\\highlight", output);  // any other name is dropped
    }
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string MarkupToRtf(const std::string& markup) {
    const std::string_view text(markup.c_str());  // ends at the first NUL
    std::string output;
    output.reserve(text.size() + text.size() / 4);
    std::string name;
    std::size_t position = 0;
    while (position < text.size()) {
        if (text[position] != '<') {
            // A run of plain characters is copied whole; a control character
            // ends it and is dropped.
            const std::size_t runStart = position;
            while (position < text.size() && text[position] != '<' &&
                   static_cast<unsigned char>(text[position]) >= 32) {
                ++position;
            }
            output.append(text.substr(runStart, position - runStart));
            if (position < text.size() && text[position] != '<') {
                ++position;
            }
            continue;
        }
        ++position;
        const std::size_t nameEnd = std::min(text.find('>', position), text.size());
        name.assign(text.substr(position, nameEnd - position));
        std::transform(name.begin(), name.end(), name.begin(), AsciiLower);
        AppendTag(name, output);
        position = nameEnd + 1;  // past the ">", or past the end when the name ran out
    }
    return output;
}

std::string TeacherTextToMarkup(const std::string& text) {
    std::string markup;
    markup.reserve(text.size());
    for (const char c : text) {
        if (c == '\0') {
            continue;  // a NUL would end the markup there, and the heading after it
        }
        if (c == '\\' || c == '{' || c == '}') {
            markup += '\\';
        }
        markup += c;
    }
    return markup;
}

std::string MarkupTabs(int count) {
    std::string tabs;
    for (int i = 0; i < count; ++i) {
        tabs += "<tab>";
    }
    return tabs;
}

}  // namespace Ufiche
