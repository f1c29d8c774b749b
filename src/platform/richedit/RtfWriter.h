#pragma once

#include <string>

class QTextDocument;

namespace platform {

// Writes the characters from `start` to `end` (document positions, end
// excluded) as an RTF 1 document in code page 1252: font table, colour table
// (entry 0 automatic), the character properties that the reader knows, tabs,
// line breaks and paragraphs. Text is escaped ("\\", "\{", "\}", "\'hh" above
// 127, "\uN?" for what Windows-1252 cannot hold), so that reading the result
// gives back the same text and formatting.
std::string WriteRtf(const QTextDocument& document, int start, int end, int defaultTabTwips);

// The same range as Windows-1252 plain text: CR LF between paragraphs and at
// line breaks, "?" for each character that the code page cannot hold.
std::string WritePlainText(const QTextDocument& document, int start, int end);

}  // namespace platform
