#pragma once

#include <string>

#include "RichText/RtfDocument.h"

namespace RichText {

// Writes a document as RTF 1 in code page 1252, the bytes of a saved file:
// - the font table, then the colour table (entry 0 automatic), each with the
//   entries that the runs use, in order of first use; Arial, Times New Roman,
//   Courier New and Symbol with their family and character set, other fonts
//   with none. A run that names no font is in the document's default font
//   (`fonts[defaultFont]`), which is also entry 0 of a document with no text;
// - "\deftab" when the document has default tabs, the page's paper and
//   margins ("\landscape" when wider than high) when it has a page;
// - the text, escaped ("\\", "\{", "\}", "\tab ", "\line ", "\'hh" above 127,
//   "\uN?" for what Windows-1252 cannot hold), with only the properties that
//   change from one run to the next; "\par" and CR LF after each ended
//   paragraph; "}" and CR LF at the end.
// A paragraph with no runs writes its mark's format, so that an empty line
// keeps its height. The declared colour table of the document is not used:
// the runs carry their colours. Tables are written as their cells'
// paragraphs, one cell after the other, each cell's last paragraph ended.
std::string WriteRtf(const RtfDocument& document);

}  // namespace RichText
