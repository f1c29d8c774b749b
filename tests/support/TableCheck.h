#pragma once

#include <string>
#include <vector>

#include "RichText/RtfDocument.h"
#include "WorksheetLayout.h"

// Checks a conversion table of an answer key as a reader gives it back,
// whichever program wrote the RTF: the core, or a word processor that saved
// the key again (whose cell edges may stand a few twips off the core's).
namespace testsupport {

// The tables of an RTF document, or of a stretch of one (wrapped first).
std::vector<RichText::RtfTable> TablesOf(const std::string& rtf);

// A cell's text; digits and unit symbols are ASCII.
std::string Text(const RichText::RtfTableCell& cell);

// The power of ten of each digit column, from the heading rows: a unit's cell
// ends on its units digit, the columns step down by one from left to right.
std::vector<int> ColumnPowers(Uconvers::QuantityKind kind, const RichText::RtfTable& table);

// The table of `exercise` converted to `target`: its digits stand in their
// powers' columns and give the exact conversion, the decimal `mark` in the
// target's column, the given unit's units digit bold, within the widest width.
void ExpectFilledTable(Uconvers::QuantityKind kind, const RichText::RtfTable& table,
                       const ReadExercise& exercise, int target, char mark);

}  // namespace testsupport
