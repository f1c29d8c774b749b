#pragma once

#include <optional>
#include <string>

#include "RichText/RtfDocument.h"

class QTextDocument;

namespace platform {

// A sheet of paper and the margins that frame the text on it, in twips.
using RtfPage = RichText::RtfPage;

// The characters from `start` to `end` (document positions, end excluded) as
// the core's document: a paragraph for each block that the range reaches, its
// runs cut to the range; an empty block, and a block of which the range holds
// only the paragraph end, keep the format of their mark. Runs that name no
// font are in the document's default font, font 0 of the model.
RichText::RtfDocument CollectRtf(const QTextDocument& document, int start, int end);

// Writes the same range through the core's writer (RichText/RtfWriter.h)
// as an RTF 1 document in code page 1252: font table, colour table (entry 0
// automatic), the page when one is given (so that a word processor breaks
// lines where the program does), the character properties that the reader
// knows, tabs, line breaks and paragraphs. Text is escaped ("\\", "\{", "\}",
// "\'hh" above 127, "\uN?" for what Windows-1252 cannot hold), so that reading
// the result gives back the same text and formatting.
std::string WriteRtf(const QTextDocument& document, int start, int end, int defaultTabTwips,
                     const std::optional<RtfPage>& page = std::nullopt);

// The same range as Windows-1252 plain text: CR LF between paragraphs and at
// line breaks, "?" for each character that the code page cannot hold.
std::string WritePlainText(const QTextDocument& document, int start, int end);

}  // namespace platform
