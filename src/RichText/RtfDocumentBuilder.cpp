#include "RichText/RtfDocumentBuilder.h"

#include <algorithm>
#include <iterator>

namespace RichText {
namespace {

// A document with many distinct controls (a damaged or hostile one) keeps the
// formats of the first ones only, so that the search stays short.
constexpr std::size_t kMostFormats = 32;

}  // namespace

void RtfDocumentBuilder::SetDefaultFont(int entry) {
    m_document.defaultFont = entry;
    TablesChanged();
}

void RtfDocumentBuilder::DefineFont(int entry, std::u16string_view name) {
    m_document.fonts[entry] = std::u16string(name);
    TablesChanged();
}

void RtfDocumentBuilder::BeginColourTable() {
    m_document.colours.clear();
    TablesChanged();
}

void RtfDocumentBuilder::AddColour(const std::optional<RtfColour>& colour) {
    m_document.colours.push_back(colour);
    TablesChanged();
}

void RtfDocumentBuilder::Append(char16_t character, const RtfCharacterControls& controls) {
    RunFor(controls) += character;
}

void RtfDocumentBuilder::Append(std::u16string_view text, const RtfCharacterControls& controls) {
    if (!text.empty()) {
        RunFor(controls) += text;
    }
}

void RtfDocumentBuilder::BeginRowDefinition() {
    m_definition = RtfTableRow{};
    m_borderSide.reset();
    m_bordersGiven = {};
    m_rowBorderOpen = false;
    m_rowBordered = false;
}

void RtfDocumentBuilder::SetRowGap(int twips) {
    m_definition.gapTwips = std::clamp(twips, 0, kWidestRowTwips);
}

void RtfDocumentBuilder::SetRowKeptTogether(bool kept) {
    m_definition.keepTogether = kept;
}

void RtfDocumentBuilder::BeginCellBorder(RtfCellSide side) {
    m_borderSide = side;
    m_rowBorderOpen = false;
    m_bordersGiven[static_cast<std::size_t>(side)] = false;
}

void RtfDocumentBuilder::SetBorderStyle(bool none) {
    if (m_borderSide) {
        m_bordersGiven[static_cast<std::size_t>(*m_borderSide)] = !none;
    } else if (m_rowBorderOpen && !none) {
        m_rowBordered = true;
    }
}

void RtfDocumentBuilder::AddCellBoundary(int twips) {
    const bool bordered = m_rowBordered || std::find(m_bordersGiven.begin(), m_bordersGiven.end(),
                                                     true) != m_bordersGiven.end();
    m_borderSide.reset();
    m_rowBorderOpen = false;
    m_bordersGiven = {};
    if (m_definition.cells.size() < kMostCellsPerRow) {
        m_definition.cells.push_back({{}, std::clamp(twips, 0, kWidestRowTwips), bordered});
    }
}

RtfParagraph RtfDocumentBuilder::TakeParagraph(const RtfCharacterControls& controls,
                                               const RtfParagraphControls& paragraph, bool ended) {
    RtfParagraph taken = std::move(m_paragraph);
    taken.mark = FormatOf(controls);
    taken.ended = ended;
    taken.centred = paragraph.centred;
    taken.keepWithNext = paragraph.keepWithNext;
    m_paragraph = RtfParagraph{};
    m_lastControls.reset();
    return taken;
}

void RtfDocumentBuilder::EndParagraph(const RtfCharacterControls& controls,
                                      const RtfParagraphControls& paragraph) {
    RtfParagraph ended = TakeParagraph(controls, paragraph, true);
    if (paragraph.inTable && TableRoomLeft()) {
        m_cell.paragraphs.push_back(std::move(ended));
        return;
    }
    CloseTable();
    m_document.blocks.emplace_back(std::move(ended));
}

void RtfDocumentBuilder::EndCell(const RtfCharacterControls& controls,
                                 const RtfParagraphControls& paragraph) {
    if (!TableRoomLeft()) {
        EndParagraph(controls, paragraph);  // past the bound, "\cell" ends a paragraph
        return;
    }
    m_cell.paragraphs.push_back(TakeParagraph(controls, paragraph, false));
    CloseCell();
}

void RtfDocumentBuilder::EndRow(const RtfCharacterControls& controls,
                                const RtfParagraphControls& paragraph) {
    // Table text that no "\cell" ended makes a cell of its own.
    if ((paragraph.inTable && !m_paragraph.runs.empty()) || !m_cell.paragraphs.empty()) {
        EndCell(controls, paragraph);
    }
    CloseRow();
}

void RtfDocumentBuilder::CloseCell() {
    if (m_cell.paragraphs.empty()) {
        return;
    }
    if (m_row.cells.size() < kMostCellsPerRow) {
        m_row.cells.push_back(std::move(m_cell));
        ++m_cells;
    } else {
        // The row is full: the paragraphs join its last cell, whose last
        // paragraph now has another after it.
        auto& last = m_row.cells.back().paragraphs;
        last.back().ended = true;
        std::move(m_cell.paragraphs.begin(), m_cell.paragraphs.end(), std::back_inserter(last));
    }
    m_cell = RtfTableCell{};
}

void RtfDocumentBuilder::CloseRow() {
    CloseCell();
    if (m_row.cells.empty()) {
        return;  // a "\row" with no cell before it
    }
    // The row takes the definition in force where it ends; its edges stay
    // within the widest row and strictly increase, which the bound on the
    // cells leaves room for.
    const auto& defined = m_definition.cells;
    auto& cells = m_row.cells;
    int previous = -1;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        int right = std::max(previous, 0) + kExtraCellTwips;
        if (i < defined.size()) {
            right = defined[i].rightTwips;
            cells[i].bordered = defined[i].bordered;
        }
        right = std::max(right, previous + 1);
        cells[i].rightTwips = right;
        previous = right;
    }
    int next = kWidestRowTwips + 1;
    for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
        cell->rightTwips = std::min(cell->rightTwips, next - 1);
        next = cell->rightTwips;
    }
    m_row.gapTwips = m_definition.gapTwips;
    m_row.keepTogether = m_definition.keepTogether;
    if (!m_table) {
        m_table.emplace();
    }
    m_table->rows.push_back(std::move(m_row));
    m_row = RtfTableRow{};
    if (m_table->rows.size() >= kMostRowsPerTable) {
        CloseTable();
    }
}

void RtfDocumentBuilder::CloseTable() {
    CloseRow();
    if (m_table) {
        m_document.blocks.emplace_back(std::move(*m_table));
        m_table.reset();
    }
}

void RtfDocumentBuilder::NoteDocumentEnd(const RtfCharacterControls& controls,
                                         const RtfParagraphControls& paragraph) {
    m_markAtDocumentEnd = FormatOf(controls);
    m_paragraphAtDocumentEnd = paragraph;
}

RtfDocument RtfDocumentBuilder::Finish(const RtfCharacterControls& controls,
                                       const RtfParagraphControls& paragraph) {
    // The last paragraph's mark is the format in force at the end of the
    // document, before its closing brace restored the defaults.
    const RtfParagraphControls last = m_paragraphAtDocumentEnd.value_or(paragraph);
    const RtfFormat mark = m_markAtDocumentEnd ? *m_markAtDocumentEnd : FormatOf(controls);
    // Table text at the end closes its cell; the paragraph after the table is then empty.
    if (last.inTable && !m_paragraph.runs.empty() && TableRoomLeft()) {
        m_cell.paragraphs.push_back(TakeParagraph(controls, last, false));
        m_cell.paragraphs.back().mark = mark;
    }
    CloseTable();
    RtfParagraph final = TakeParagraph(controls, last, false);
    final.mark = mark;
    m_document.blocks.emplace_back(std::move(final));
    return std::move(m_document);
}

std::u16string& RtfDocumentBuilder::RunFor(const RtfCharacterControls& controls) {
    std::vector<RtfRun>& runs = m_paragraph.runs;
    if (m_lastControls == controls) {
        return runs.back().text;
    }
    const RtfFormat& format = FormatOf(controls);
    if (runs.empty() || runs.back().format != format) {
        runs.push_back(RtfRun{{}, format});
    }
    m_lastControls = controls;
    return runs.back().text;
}

void RtfDocumentBuilder::TablesChanged() {
    // The text already read keeps the format it was resolved to.
    m_formats.clear();
    m_lastControls.reset();
}

std::optional<RtfColour> RtfDocumentBuilder::Colour(int entry) const {
    if (entry <= 0 || static_cast<std::size_t>(entry) >= m_document.colours.size()) {
        return std::nullopt;  // automatic, or an entry the table lacks
    }
    return m_document.colours[static_cast<std::size_t>(entry)];
}

const RtfFormat& RtfDocumentBuilder::FormatOf(const RtfCharacterControls& controls) {
    for (const auto& [known, format] : m_formats) {
        if (known == controls) {
            return format;
        }
    }
    RtfFormat format;
    const auto& fonts = m_document.fonts;
    auto font = fonts.find(controls.font < 0 ? m_document.defaultFont : controls.font);
    if (font == fonts.end()) {
        font = fonts.find(m_document.defaultFont);
    }
    if (font != fonts.end()) {
        format.font = font->second;
    }
    format.halfPoints = controls.halfPoints;
    format.bold = controls.bold;
    format.italic = controls.italic;
    format.underline = controls.underline;
    format.strike = controls.strike;
    format.alignment = controls.alignment;
    format.foreground = Colour(controls.foreground);
    format.highlight = Colour(controls.highlight);
    if (m_formats.size() < kMostFormats) {
        // Reserved whole, so that adding one never moves those handed out.
        m_formats.reserve(kMostFormats);
        return m_formats.emplace_back(controls, std::move(format)).second;
    }
    m_uncached = std::move(format);
    return m_uncached;
}

}  // namespace RichText
