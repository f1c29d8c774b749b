#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Uconvers/Uconvers.h"
#include "Ufiche/generation/FormatNumber.h"

// The conversion table pupils are taught with: one column per digit, the
// columns of a unit under its symbol (two per unit of area, three per unit of
// volume), the measure's digits written with the units digit in its unit's
// last column, then the comma moved to the target unit's last column and
// zeros written where columns between them are empty.
namespace Ufiche {

// The power of ten of a unit's units digit, in its kind's base unit (the
// litre for capacities, whose cubic units are powers of a thousand litres).
int UnitPower(Uconvers::QuantityKind kind, Uconvers::UnitIndex unit);

// How many digit columns a unit's symbol stands over: 1, or 2 for areas,
// 3 for volumes and for the cubic units among capacities.
int UnitColumns(Uconvers::QuantityKind kind, Uconvers::UnitIndex unit);

// One cell of a table: its text as RTF up to and with "\cell" (empty for a
// blank cell), and how many digit columns it stands over. Every text a cell
// can hold is written once and shared by all tables.
struct TableCell {
    std::string_view rtf;
    int span = 1;
};

struct ConversionTable {
    int columns = 0;
    int headingRows = 0;  // the first rows: unit symbols
    std::vector<std::vector<TableCell>> rows;
};

// The table of one exercise of the answer key: `measure` (a number text with
// the point or the comma, grouped by blanks) given in `unit`, converted into `target`.
// Only the units that the measure's digits, the given unit and the target
// touch have columns, so that the longest level's tables stay within the page.
// The given unit's units digit is bold, the zeros the conversion adds are
// blue and the result's comma stands red in the target's last column.
ConversionTable FilledConversionTable(Uconvers::QuantityKind kind, Uconvers::UnitIndex unit,
                                      const std::string& measure, Uconvers::UnitIndex target,
                                      DecimalMark mark);

// The kind's whole table with `emptyRows` rows for the pupils to write in.
ConversionTable EmptyConversionTable(Uconvers::QuantityKind kind, int emptyRows);

// Appends the table as RTF rows with thin borders, kept on one page, none of its
// rows apart from the next when `keptWithNext`. `columnTwips` is the width of
// a digit column; `rowHalfPoints` the size of an empty row's mark.
void AppendConversionTableRtf(std::string& document, const ConversionTable& table, int columnTwips,
                              bool keptWithNext, int rowHalfPoints);

// The widest a table may be: A4's 210 mm less two printer edges of 10 mm
// and a little room, in twips.
inline constexpr int kWidestTableTwips = 10200;

}  // namespace Ufiche
