#include "Ufiche/generation/ConversionTable.h"

#include <algorithm>
#include <optional>

#include "Ufiche/document/Markup.h"

namespace Ufiche {
namespace {

using Uconvers::QuantityKind;
using Uconvers::UnitIndex;

// Capacities list the litre units first (millilitre to kilolitre), then the
// cubic units from the cubic metre down.
constexpr UnitIndex kFirstCubicCapacity = 7;

bool IsCubicCapacity(QuantityKind kind, UnitIndex unit) {
    return kind == QuantityKind::Capacity && unit >= kFirstCubicCapacity;
}

// Rounds down to a multiple of `step`, negative numbers included.
int FloorToMultiple(int value, int step) {
    const int remainder = ((value % step) + step) % step;
    return value - remainder;
}

// The units of one row of symbols: each over the columns of its powers.
struct UnitStrip {
    QuantityKind kind;
    UnitIndex first;
    UnitIndex last;
};

// The cells of a row of symbols over the columns `high` down to `low`:
// each unit that has columns there spans them, and the columns no unit of
// the strip stands over share blank cells.
std::vector<TableCell> SymbolRow(const UnitStrip& strip, int high, int low) {
    std::vector<TableCell> cells;
    for (int power = high; power >= low;) {
        std::optional<UnitIndex> over;
        for (UnitIndex unit = strip.first; unit <= strip.last; ++unit) {
            const int bottom = UnitPower(strip.kind, unit);
            if (power >= bottom && power < bottom + UnitColumns(strip.kind, unit)) {
                over = unit;
            }
        }
        if (over) {
            const int bottom = std::max(low, UnitPower(strip.kind, *over));
            cells.push_back({Uconvers::UnitSymbol(strip.kind, *over), power - bottom + 1});
            power = bottom - 1;
        } else if (!cells.empty() && cells.back().markup.empty()) {
            ++cells.back().span;
            --power;
        } else {
            cells.push_back({"", 1});
            --power;
        }
    }
    return cells;
}

// The rows of symbols over the columns `high` down to `low`: for the
// capacities that meet cubic units, the cubic units over the litre units.
void AddSymbolRows(ConversionTable& table, QuantityKind kind, bool withCubic, int high, int low) {
    if (withCubic) {
        table.rows.push_back(
            SymbolRow({kind, kFirstCubicCapacity, Uconvers::UnitCount(kind) - 1}, high, low));
    }
    const UnitIndex last =
        kind == QuantityKind::Capacity ? kFirstCubicCapacity - 1 : Uconvers::UnitCount(kind) - 1;
    table.rows.push_back(SymbolRow({kind, 0, last}, high, low));
    table.headingRows = static_cast<int>(table.rows.size());
    table.columns = high - low + 1;
}

// The widest step between two columns' powers that a unit takes: the tables
// start and end on whole units.
int UnitStep(QuantityKind kind, bool withCubic) {
    switch (kind) {
        case QuantityKind::Area:
            return 2;
        case QuantityKind::Volume:
            return 3;
        case QuantityKind::Capacity:
            return withCubic ? 3 : 1;
        case QuantityKind::Length:
        case QuantityKind::Mass:
            break;
    }
    return 1;
}

const char* const kBorders =
    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
    "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx";

}  // namespace

int UnitPower(QuantityKind kind, UnitIndex unit) {
    switch (kind) {
        case QuantityKind::Length:
        case QuantityKind::Mass:
            return unit - 3;
        case QuantityKind::Area:
            return 2 * (unit - 3);
        case QuantityKind::Volume:
            return 3 * (unit - 3);
        case QuantityKind::Capacity:
            return IsCubicCapacity(kind, unit) ? 3 * (kFirstCubicCapacity + 1 - unit) : unit - 3;
    }
    return 0;
}

int UnitColumns(QuantityKind kind, UnitIndex unit) {
    switch (kind) {
        case QuantityKind::Area:
            return 2;
        case QuantityKind::Volume:
            return 3;
        case QuantityKind::Capacity:
            return IsCubicCapacity(kind, unit) ? 3 : 1;
        case QuantityKind::Length:
        case QuantityKind::Mass:
            break;
    }
    return 1;
}

ConversionTable FilledConversionTable(QuantityKind kind, UnitIndex unit, const std::string& measure,
                                      UnitIndex target, DecimalMark mark) {
    std::string digits;
    int wholeDigits = -1;
    for (const char c : measure) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == '.' || c == ',') {
            wholeDigits = static_cast<int>(digits.size());
        }
    }
    if (wholeDigits < 0) {
        wholeDigits = static_cast<int>(digits.size());
    }
    // Powers of ten: the measure's digits, and the result's once the zeros
    // between them and the target's units digit are added.
    const int given = UnitPower(kind, unit);
    const int top = given + wholeDigits - 1;
    const int bottom = top - static_cast<int>(digits.size()) + 1;
    const int units = UnitPower(kind, target);
    const int resultTop = std::max(top, units);
    const int resultBottom = std::min(bottom, units);

    const bool withCubic = IsCubicCapacity(kind, unit) || IsCubicCapacity(kind, target);
    const int step = UnitStep(kind, withCubic);
    const int high = FloorToMultiple(std::max({resultTop, given + UnitColumns(kind, unit) - 1,
                                               units + UnitColumns(kind, target) - 1}),
                                     step) +
                     step - 1;
    const int low = FloorToMultiple(std::min({resultBottom, given, units}), step);

    ConversionTable table;
    AddSymbolRows(table, kind, withCubic, high, low);
    std::vector<TableCell>& row = table.rows.emplace_back();
    row.reserve(static_cast<std::size_t>(table.columns));
    for (int power = high; power >= low; --power) {
        std::string cell;
        if (power <= top && power >= bottom) {
            const char digit = digits[static_cast<std::size_t>(top - power)];
            cell = power == given ? std::string("<b>") + digit + "</b>" : std::string(1, digit);
        } else if (power <= resultTop && power >= resultBottom) {
            cell = "<ce=bleu>0<ce=auto>";
        }
        if (power == units && resultBottom < units) {
            cell += mark == DecimalMark::Comma ? "<ce=rouge><b>,</b><ce=auto>"
                                               : "<ce=rouge><b>.</b><ce=auto>";
        }
        row.push_back({std::move(cell), 1});
    }
    return table;
}

ConversionTable EmptyConversionTable(QuantityKind kind, int emptyRows) {
    const UnitIndex last = Uconvers::UnitCount(kind) - 1;
    const bool withCubic = kind == QuantityKind::Capacity;
    int high = 0;
    int low = 0;
    for (UnitIndex unit = 0; unit <= last; ++unit) {
        high = std::max(high, UnitPower(kind, unit) + UnitColumns(kind, unit) - 1);
        low = std::min(low, UnitPower(kind, unit));
    }
    ConversionTable table;
    AddSymbolRows(table, kind, withCubic, high, low);
    for (int i = 0; i < emptyRows; ++i) {
        table.rows.emplace_back(static_cast<std::size_t>(table.columns), TableCell{});
    }
    return table;
}

std::string ConversionTableRtf(const ConversionTable& table, int columnTwips, bool keptWithNext,
                               int rowHalfPoints) {
    std::string rtf;
    rtf.reserve(table.rows.size() * static_cast<std::size_t>(table.columns) * 96);
    const std::string emptyMark = "{\\fs" + std::to_string(rowHalfPoints) + "\\cell}";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const bool keep = keptWithNext || r + 1 < table.rows.size();
        rtf += "\\trowd\\trgaph57\\trkeep";
        int right = 0;
        for (const TableCell& cell : row) {
            right += cell.span * columnTwips;
            rtf += kBorders;
            rtf += std::to_string(right);
        }
        for (const TableCell& cell : row) {
            rtf += keep ? "\\pard\\intbl\\qc\\keepn " : "\\pard\\intbl\\qc ";
            if (cell.markup.empty()) {
                rtf += emptyMark;
            } else {
                rtf += MarkupToRtf(cell.markup);
                rtf += "\\cell ";
            }
        }
        rtf += "\\row ";
    }
    return rtf;
}

}  // namespace Ufiche
