#pragma once

#include <string_view>

#include "RichText/RtfDocument.h"

namespace RichText {

// Whether the bytes open an RTF document ("{\rtf", after optional white space).
bool LooksLikeRtf(std::string_view data);

// Reads an RTF stream (Windows-1252 bytes) into a document. The reader is
// lenient: it never fails on what follows "{\rtf". Unbalanced braces,
// unknown control words and destinations, and a stream cut short are read
// as far as they make sense; a "}" that closes more groups than were opened
// is ignored and the text after it is still read. The "\ansicpg" code page is
// ignored too: text is always Windows-1252, the code page of every document
// of the program.
RtfDocument ReadRtf(std::string_view rtf);

}  // namespace RichText
