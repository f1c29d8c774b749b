#include "Ufiche/generation/ConversionTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <initializer_list>
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

// A cell's text ends with the cell.
constexpr std::string_view kCellEnd = "\\cell ";

// The RTF of every unit symbol of every kind as a heading cell, translated
// once: a table names a unit in each of its heading cells.
const std::string& SymbolRtf(QuantityKind kind, UnitIndex unit) {
    static const auto symbols = [] {
        std::array<std::vector<std::string>, 5> all;
        for (int k = 0; k < 5; ++k) {
            const auto each = static_cast<QuantityKind>(k);
            for (UnitIndex u = 0; u < Uconvers::UnitCount(each); ++u) {
                all[static_cast<std::size_t>(k)].push_back(
                    MarkupToRtf(Uconvers::UnitSymbol(each, u)) + std::string(kCellEnd));
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

// What a digit row's cell holds: nothing, an added zero, one of the
// measure's digits, or the given unit's bold units digit.
enum class DigitLook { Blank, AddedZero, Plain, Bold };

// The text of every digit cell, written once: each look of each digit,
// followed by no mark, the comma or the point.
std::string_view DigitCellRtf(DigitLook look, char digit, std::optional<DecimalMark> mark) {
    constexpr std::size_t kMarks = 3;
    static const auto texts = [] {
        const auto joined = [](std::initializer_list<std::string_view> pieces) {
            std::string text;
            for (const std::string_view piece : pieces) {
                text += piece;
            }
            return text;
        };
        constexpr std::array<std::string_view, kMarks> endings{"", kCommaMark, kPointMark};
        constexpr std::string_view kDigits = "0123456789";
        std::vector<std::string> all;
        for (std::size_t d = 0; d < kDigits.size(); ++d) {
            const std::string_view each = kDigits.substr(d, 1);
            for (const std::string_view ending : endings) {
                all.push_back(joined({each, ending, kCellEnd}));
                all.push_back(joined({kBoldStart, each, kBoldEnd, ending, kCellEnd}));
            }
        }
        for (const std::string_view ending : endings) {
            all.push_back(joined({kAddedZero, ending, kCellEnd}));
            // A blank cell is written by the table, in its rows' size.
            all.push_back(ending.empty() ? std::string() : joined({ending, kCellEnd}));
        }
        return all;
    }();
    const std::size_t m = !mark ? 0 : *mark == DecimalMark::Comma ? 1 : 2;
    switch (look) {
        case DigitLook::Plain:
        case DigitLook::Bold: {
            const auto d = static_cast<std::size_t>(digit - '0');
            return texts[(d * kMarks + m) * 2 + (look == DigitLook::Bold ? 1 : 0)];
        }
        case DigitLook::AddedZero:
            return texts[(10 * kMarks + m) * 2];
        case DigitLook::Blank:
            break;
    }
    return texts[(10 * kMarks + m) * 2 + 1];
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
    // The strip's units within the columns, from the highest power down.
    struct Placed {
        int top;
        int bottom;
        UnitIndex unit;
    };
    std::array<Placed, 8> placed{};
    std::size_t count = 0;
    for (UnitIndex unit = strip.first; unit <= strip.last && count < placed.size(); ++unit) {
        const int bottom = UnitPower(strip.kind, unit);
        const int top = bottom + UnitColumns(strip.kind, unit) - 1;
        if (top >= low && bottom <= high) {
            placed[count++] = {std::min(top, high), std::max(bottom, low), unit};
        }
    }
    std::sort(placed.begin(), placed.begin() + static_cast<std::ptrdiff_t>(count),
              [](const Placed& a, const Placed& b) { return a.top > b.top; });
    std::vector<TableCell> cells;
    cells.reserve(count * 2 + 1);
    int next = high;  // the highest column not yet in a cell
    for (std::size_t i = 0; i < count; ++i) {
        if (placed[i].top < next) {
            cells.push_back({"", next - placed[i].top});
        }
        cells.push_back(
            {SymbolRtf(strip.kind, placed[i].unit), placed[i].top - placed[i].bottom + 1});
        next = placed[i].bottom - 1;
    }
    if (next >= low) {
        cells.push_back({"", next - low + 1});
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

// Thin single lines: each cell draws its top and left sides, the last cell
// of a row its right side too and the cells of the last row their bottom, so
// that each line between two cells is given once. LibreOffice draws only the
// cells' own borders, not those given once for the whole row.
// A cell's lines and its right edge's control word, by whether it is in the
// last row and whether it is the last of its row.
constexpr std::string_view kCellLines[2][2] = {
    {"\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\cellx",
     "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx"},
    {"\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\cellx",
     "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
     "\\clbrdrr\\brdrs\\brdrw10\\cellx"}};

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
        case QuantityKind::Duration:
            break;
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
        case QuantityKind::Duration:
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
        DigitLook look = DigitLook::Blank;
        char digit = '0';
        if (power <= top && power >= bottom) {
            digit = digits[static_cast<std::size_t>(top - power)];
            look = power == given ? DigitLook::Bold : DigitLook::Plain;
        } else if (power <= resultTop && power >= resultBottom) {
            look = DigitLook::AddedZero;
        }
        const bool marked = power == units && resultBottom < units;
        row.push_back({DigitCellRtf(look, digit, marked ? std::optional(mark) : std::nullopt), 1});
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
    constexpr std::string_view kRowStart = "\\trowd\\trgaph57\\trkeep";
    constexpr std::string_view kKeptCells = "\\pard\\intbl\\qc\\keepn ";
    constexpr std::string_view kLastCells = "\\pard\\intbl\\qc ";
    constexpr std::string_view kRowEnd = "\\row ";
    // A table takes a few thousand characters in some hundred pieces: they
    // are gathered in a buffer and copied into the document a block at a time.
    std::array<char, 2048> buffer;
    char* out = buffer.data();
    const auto put = [&](std::string_view text) {
        if (text.size() > static_cast<std::size_t>(buffer.data() + buffer.size() - out)) {
            rtf.append(buffer.data(), out);
            out = buffer.data();
            if (text.size() > buffer.size()) {
                rtf += text;
                return;
            }
        }
        std::memcpy(out, text.data(), text.size());
        out += text.size();
    };
    char number[16];
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const bool lastRow = r + 1 == table.rows.size();
        put(kRowStart);
        int right = 0;
        for (std::size_t c = 0; c < row.size(); ++c) {
            right += row[c].span * columnTwips;
            put(kCellLines[lastRow ? 1 : 0][c + 1 == row.size() ? 1 : 0]);
            const char* const end = std::to_chars(number, number + sizeof number, right).ptr;
            put(std::string_view(number, static_cast<std::size_t>(end - number)));
        }
        // A paragraph's properties hold from one cell to the next until "\pard".
        put(keptWithNext || !lastRow ? kKeptCells : kLastCells);
        for (const TableCell& cell : row) {
            put(cell.rtf.empty() ? std::string_view(emptyMark) : cell.rtf);
        }
        put(kRowEnd);
    }
    rtf.append(buffer.data(), out);
}

}  // namespace Ufiche
