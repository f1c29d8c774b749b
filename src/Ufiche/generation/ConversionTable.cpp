#include "Ufiche/generation/ConversionTable.h"

#include <algorithm>
#include <array>
#include <charconv>
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

// The RTF of every unit symbol of every kind, translated once: a table
// names a unit in each of its heading cells.
const std::string& SymbolRtf(QuantityKind kind, UnitIndex unit) {
    static const auto symbols = [] {
        std::array<std::vector<std::string>, 5> all;
        for (int k = 0; k < 5; ++k) {
            const auto each = static_cast<QuantityKind>(k);
            for (UnitIndex u = 0; u < Uconvers::UnitCount(each); ++u) {
                all[static_cast<std::size_t>(k)].push_back(
                    MarkupToRtf(Uconvers::UnitSymbol(each, u)));
            }
        }
        return all;
    }();
    return symbols[static_cast<std::size_t>(kind)][static_cast<std::size_t>(unit)];
}

// The digit cells' looks, as the markup "<b>", "<ce=bleu>" and "<ce=rouge>"
// translate: the given unit's units digit bold, an added zero blue, the
// result's mark red and bold.
constexpr std::string_view kBoldStart = "\\b ";
constexpr std::string_view kBoldEnd = "\\b0 ";
constexpr std::string_view kAddedZero = "\\cf13 0\\cf0 ";
constexpr std::string_view kCommaMark = "\\cf10 \\b ,\\b0 \\cf0 ";
constexpr std::string_view kPointMark = "\\cf10 \\b .\\b0 \\cf0 ";

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
            cells.push_back({SymbolRtf(strip.kind, *over), power - bottom + 1});
            power = bottom - 1;
        } else if (!cells.empty() && cells.back().rtf.empty()) {
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

// How many columns the units of a table take each: the tables start and end
// on whole units (the cubic ones, where a capacity meets them).
int UnitStep(QuantityKind kind, bool withCubic) {
    return withCubic ? UnitColumns(kind, kFirstCubicCapacity) : UnitColumns(kind, 0);
}

// A thin single line on each side of a cell. LibreOffice draws only the
// cells' own borders, not those given once for the whole row.
const char* const kBorderedCell =
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
            if (power == given) {
                cell += kBoldStart;
                cell += digit;
                cell += kBoldEnd;
            } else {
                cell += digit;
            }
        } else if (power <= resultTop && power >= resultBottom) {
            cell = kAddedZero;
        }
        if (power == units && resultBottom < units) {
            cell += mark == DecimalMark::Comma ? kCommaMark : kPointMark;
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

void AppendConversionTableRtf(std::string& rtf, const ConversionTable& table, int columnTwips,
                              bool keptWithNext, int rowHalfPoints) {
    const std::string emptyMark = "{\\fs" + std::to_string(rowHalfPoints) + "\\cell}";
    char number[16];
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const bool keep = keptWithNext || r + 1 < table.rows.size();
        rtf += "\\trowd\\trgaph57\\trkeep";
        int right = 0;
        for (const TableCell& cell : row) {
            right += cell.span * columnTwips;
            rtf += kBorderedCell;
            const auto written = std::to_chars(number, number + sizeof number, right);
            rtf.append(number, written.ptr);
        }
        for (const TableCell& cell : row) {
            rtf += keep ? "\\pard\\intbl\\qc\\keepn " : "\\pard\\intbl\\qc ";
            if (cell.rtf.empty()) {
                rtf += emptyMark;
            } else {
                rtf += cell.rtf;
                rtf += "\\cell ";
            }
        }
        rtf += "\\row ";
    }
}

}  // namespace Ufiche
