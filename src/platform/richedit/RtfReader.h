#pragma once

#include <optional>
#include <string_view>

class QTextCursor;

namespace platform {

// Document-wide settings that an RTF stream declared.
struct RtfDocumentSettings {
    std::optional<int> defaultTabTwips;  // "\deftabN"
};

// Whether the bytes open an RTF document ("{\rtf", after optional white space).
bool LooksLikeRtf(std::string_view data);

// Reads an RTF stream in place of the cursor's selection. The reader is
// lenient: it never fails on what follows "{\rtf". Unbalanced braces,
// unknown control words and destinations, and a stream cut short are read
// as far as they make sense; a "}" that closes more groups than were opened
// is ignored and the text after it is still read. Text is Windows-1252.
RtfDocumentSettings ReadRtf(QTextCursor& cursor, std::string_view rtf);

// Reads Windows-1252 plain text in place of the cursor's selection: CR LF,
// CR and LF end paragraphs; NUL bytes are dropped.
void ReadPlainText(QTextCursor& cursor, std::string_view text);

}  // namespace platform
