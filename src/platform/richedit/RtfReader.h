#pragma once

#include <string_view>

#include "RichText/RtfDocument.h"

class QTextCursor;

namespace platform {

// Inserts a document that the core's RTF reader gave in place of the cursor's
// selection, in one edit block: its first paragraph goes on in the block at
// the cursor, each ended paragraph starts a new block, and an empty line
// keeps the look of its paragraph mark (its height, above all).
void InsertRtfDocument(QTextCursor& cursor, const RichText::RtfDocument& document);

// Reads an RTF stream with the core's reader in place of the cursor's
// selection; returns the document read, for what it declares beyond its text
// (the default tab stops).
RichText::RtfDocument ReadRtf(QTextCursor& cursor, std::string_view rtf);

// Reads Windows-1252 plain text in place of the cursor's selection: CR LF,
// CR and LF end paragraphs; NUL bytes are dropped.
void ReadPlainText(QTextCursor& cursor, std::string_view text);

}  // namespace platform
