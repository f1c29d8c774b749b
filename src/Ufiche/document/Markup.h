#pragma once

#include <string>

namespace Ufiche {

// Translates worksheet markup into an RTF body fragment. Tags in angle
// brackets ("<b>", "<te=18>", "<cf=jaune>", "<br>", ...) become control words
// that each end in one space; unknown tags are dropped whole; characters
// below 32 are dropped; every other byte, "\", "{" and "}" included, is copied
// as it is. The markup ends at its first NUL. Nothing opened is closed.
std::string MarkupToRtf(const std::string& markup);

// A teacher's text (title line, instruction, separator line) as markup: its
// backslashes and braces become the RTF of the characters themselves ("\\",
// "\{", "\}"), so that typed text can never act as RTF syntax; its tags still
// format. NUL characters are dropped, as the translation drops every other
// control character. A text without those four characters comes back unchanged.
std::string TeacherTextToMarkup(const std::string& text);

// The markup "<tab>" repeated `count` times; empty for 0 or less.
std::string MarkupTabs(int count);

}  // namespace Ufiche
