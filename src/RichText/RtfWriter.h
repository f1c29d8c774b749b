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
// the runs carry their colours. A paragraph outside tables that is centred
// or kept with the next writes "\qc" or "\keepn" where that changes from
// the paragraph before, and "\pard" first where a property goes back to
// plain (so that a document with neither is written as it always was).
// Tables in the standard form that word processors read as tables: each
// row "\trowd\trgaphN" ("\trkeep"), each cell's borders (single, thin, on
// all four sides) and "\cellxN"; then each cell's paragraphs, each opening
// with "\pard\intbl" ("\qc", "\keepn"), "\par" between two of one cell,
// "\cell" after its last one (whatever its mark says: the reader gives the
// last paragraph of a cell no mark), "\row" after each row; the paragraph
// after a table opens with "\pard". A row with no cells is not written.
std::string WriteRtf(const RtfDocument& document);

// The page's paper and margins as document formatting words, then a line
// break, as the writer puts them before a document's body.
void AppendPageWords(const RtfPage& page, std::string& out);

}  // namespace RichText
