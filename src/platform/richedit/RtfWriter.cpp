#include "platform/richedit/RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "RichText/RtfWriter.h"
#include "platform/codepage/Codepage.h"
#include "platform/richedit/TextProperties.h"

namespace platform {
namespace {

std::u16string ToUtf16(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// A brush that the format sets and that paints, as an RGB colour; none for a
// brush left unset or set to paint nothing.
std::optional<RichText::RtfColour> BrushColour(const QTextCharFormat& format,
                                               QTextFormat::Property property) {
    if (!format.hasProperty(property)) {
        return std::nullopt;
    }
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush) {
        return std::nullopt;
    }
    const QColor colour = brush.color().toRgb();
    return RichText::RtfColour{static_cast<std::uint8_t>(colour.red()),
                               static_cast<std::uint8_t>(colour.green()),
                               static_cast<std::uint8_t>(colour.blue())};
}

// The properties of a character format that RTF carries. A size left unset
// is the document's default font's; a weight from DemiBold up is bold; of the
// vertical alignments only superscript and subscript are kept.
RichText::RtfFormat Describe(const QTextCharFormat& format, const QFont& defaultFont) {
    RichText::RtfFormat written;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty()) {
        written.font = ToUtf16(families.front());
    }
    qreal points = format.fontPointSize();
    if (points <= 0) {
        points = defaultFont.pointSizeF();
    }
    written.halfPoints = points > 0 ? qRound(points * 2) : RichText::kRtfDefaultHalfPoints;
    written.bold = format.fontWeight() > QFont::Medium;
    written.italic = format.fontItalic();
    written.underline = format.fontUnderline();
    written.strike = format.fontStrikeOut();
    switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            written.alignment = RichText::RtfVerticalAlignment::Superscript;
            break;
        case QTextCharFormat::AlignSubScript:
            written.alignment = RichText::RtfVerticalAlignment::Subscript;
            break;
        default:
            written.alignment = RichText::RtfVerticalAlignment::Normal;
            break;
    }
    written.foreground = BrushColour(format, QTextFormat::ForegroundBrush);
    written.highlight = BrushColour(format, QTextFormat::BackgroundBrush);
    return written;
}

}  // namespace

namespace {

// A column whose width the table does not fix (one a teacher's edit or a
// paste brought in) takes the width of the fixed ones on average, or this.
constexpr int kDefaultColumnTwips = 1440;

// Gathers the model of a document range: blocks cut to the range, and tables
// whole row by row.
class RangeCollector {
public:
    RangeCollector(const QTextDocument& document, int start, int end)
        : m_document(document), m_defaultFont(document.defaultFont()), m_start(start), m_end(end) {
        m_collected.fonts[m_collected.defaultFont] = ToUtf16(m_defaultFont.family());
    }

    RichText::RtfDocument Collect() && {
        // A range within one cell is text, as a word processor copies it.
        QTextCursor at(const_cast<QTextDocument*>(&m_document));
        at.setPosition(m_start);
        const QTextTable* table = at.currentTable();
        if (table && m_end <= table->cellAt(m_start).lastPosition()) {
            for (QTextBlock block = m_document.findBlock(m_start);
                 block.isValid() && block.position() <= m_end; block = block.next()) {
                AddBlock(block);
            }
        } else {
            AddFrame(*m_document.rootFrame());
        }
        return std::move(m_collected);
    }

private:
    // The paragraph of a block, its runs cut to the range; none when the
    // range reaches the block at its end, with none of its text nor its
    // paragraph end.
    std::optional<RichText::RtfParagraph> Paragraph(const QTextBlock& block, int start,
                                                    int end) const {
        const int separator = block.position() + block.length() - 1;
        RichText::RtfParagraph paragraph;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const int from = std::max(piece.position(), start);
            const int to = std::min(piece.position() + piece.length(), end);
            if (from >= to) {
                continue;
            }
            const QString text = piece.text();
            const QStringView cut = QStringView(text).mid(from - piece.position(), to - from);
            RichText::RtfFormat format = Describe(piece.charFormat(), m_defaultFont);
            // Fragments that differ only in what RTF does not carry make one run.
            if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
                paragraph.runs.back().text += ToUtf16(cut);
            } else {
                paragraph.runs.push_back({ToUtf16(cut), std::move(format)});
            }
        }
        paragraph.ended = separator >= start && separator < end;
        // An empty block always belongs to the range, with the format that
        // gives the empty line its height.
        if (paragraph.runs.empty() && !paragraph.ended && block.length() > 1) {
            return std::nullopt;
        }
        if (paragraph.runs.empty()) {
            paragraph.mark = Describe(block.charFormat(), m_defaultFont);
        }
        const QTextBlockFormat format = block.blockFormat();
        paragraph.centred = (format.alignment() & Qt::AlignHCenter) != 0;
        paragraph.keepWithNext = format.boolProperty(kKeepWithNextProperty);
        return paragraph;
    }

    void AddBlock(const QTextBlock& block) {
        if (auto paragraph = Paragraph(block, m_start, m_end)) {
            m_collected.blocks.emplace_back(std::move(*paragraph));
        }
    }

    // The blocks and tables of a frame that the range reaches, in order;
    // other frames (from pasted HTML) give their blocks.
    void AddFrame(const QTextFrame& frame) {
        for (auto it = frame.begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                const auto* table = qobject_cast<const QTextTable*>(child);
                if (!table) {
                    AddFrame(*child);
                } else if (table->firstPosition() < m_end && table->lastPosition() >= m_start) {
                    AddTable(*table);
                }
                continue;
            }
            const QTextBlock block = it.currentBlock();
            auto next = it;
            ++next;
            // The block that Qt keeps before a table, left empty, stands for
            // nothing of the document.
            const bool placeholder = block.length() == 1 &&
                                     block.blockFormat().boolProperty(kTablePlaceholderProperty) &&
                                     !next.atEnd() &&
                                     qobject_cast<const QTextTable*>(next.currentFrame());
            if (placeholder || block.position() + block.length() <= m_start ||
                block.position() > m_end) {
                continue;
            }
            AddBlock(block);
        }
    }

    // Every paragraph of a frame's blocks, whole, nested frames flattened;
    // the last one has no paragraph mark (the cell's end ends it).
    void AddWholeBlocks(QTextFrame::iterator it, std::vector<RichText::RtfParagraph>& paragraphs) {
        for (; !it.atEnd(); ++it) {
            if (const QTextFrame* child = it.currentFrame()) {
                AddWholeBlocks(child->begin(), paragraphs);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (auto paragraph =
                    Paragraph(block, block.position(), block.position() + block.length())) {
                paragraphs.push_back(std::move(*paragraph));
            }
        }
    }

    std::vector<int> ColumnEdges(const QTextTable& table) const {
        const QList<QTextLength> constraints = table.format().columnWidthConstraints();
        const bool fixed =
            constraints.size() == table.columns() &&
            std::all_of(constraints.begin(), constraints.end(), [](const auto& length) {
                return length.type() == QTextLength::FixedLength;
            });
        std::vector<int> edges{0};
        qreal right = 0;
        for (int c = 0; c < table.columns(); ++c) {
            if (fixed) {
                right += constraints[c].rawValue();
                edges.push_back(std::max(DocumentPixelsToTwips(right), edges.back() + 1));
            } else {
                edges.push_back(edges.back() + kDefaultColumnTwips);
            }
        }
        return edges;
    }

    static bool Bordered(const QTextTableCellFormat& cell, const QTextTableFormat& table) {
        if (cell.hasProperty(QTextFormat::TableCellLeftBorderStyle)) {
            return cell.leftBorderStyle() != QTextFrameFormat::BorderStyle_None &&
                   cell.leftBorder() > 0;
        }
        return table.borderStyle() != QTextFrameFormat::BorderStyle_None && table.border() > 0;
    }

    static bool HasText(const QTextTableCell& cell) {
        return cell.lastPosition() > cell.firstPosition();
    }

    // The rows that the range reaches, whole: each cell of the grid, spanned
    // ones once with the right edge of their last column. A cell merged
    // down from a row above leaves an empty cell of the same edges below.
    void AddTable(const QTextTable& table) {
        const std::vector<int> edges = ColumnEdges(table);
        RichText::RtfTable collected;
        for (int r = 0; r < table.rows(); ++r) {
            const QTextTableCell first = table.cellAt(r, 0);
            const QTextTableCell last = table.cellAt(r, table.columns() - 1);
            if (first.firstPosition() >= m_end || last.lastPosition() < m_start) {
                continue;
            }
            RichText::RtfTableRow row;
            const auto firstFormat = first.format().toTableCellFormat();
            row.gapTwips = DocumentPixelsToTwips(firstFormat.leftPadding());
            row.keepTogether = firstFormat.boolProperty(kRowKeepTogetherProperty);
            for (int c = 0; c < table.columns();) {
                const QTextTableCell cell = table.cellAt(r, c);
                const auto format = cell.format().toTableCellFormat();
                const int span = std::max(1, cell.column() + cell.columnSpan() - c);
                c += span;
                const bool filler = format.boolProperty(kGridFillerProperty);
                if (filler && c == table.columns() && !HasText(cell)) {
                    break;  // the grid's end, not a cell of the document
                }
                RichText::RtfTableCell shown;
                shown.rightTwips = edges[c];
                shown.bordered = Bordered(format, table.format());
                if (cell.row() == r) {
                    AddWholeBlocks(cell.begin(), shown.paragraphs);
                } else {
                    RichText::RtfParagraph empty;
                    empty.mark = Describe(QTextCharFormat(), m_defaultFont);
                    shown.paragraphs.push_back(std::move(empty));
                }
                if (!shown.paragraphs.empty()) {
                    shown.paragraphs.back().ended = false;
                }
                row.cells.push_back(std::move(shown));
            }
            collected.rows.push_back(std::move(row));
        }
        if (!collected.rows.empty()) {
            m_collected.blocks.emplace_back(std::move(collected));
        }
    }

    const QTextDocument& m_document;
    const QFont m_defaultFont;
    const int m_start;
    const int m_end;
    RichText::RtfDocument m_collected;
};

}  // namespace

RichText::RtfDocument CollectRtf(const QTextDocument& document, int start, int end) {
    return RangeCollector(document, start, end).Collect();
}

std::string WriteRtf(const QTextDocument& document, int start, int end, int defaultTabTwips,
                     const std::optional<RtfPage>& page) {
    RichText::RtfDocument collected = CollectRtf(document, start, end);
    collected.defaultTabTwips = defaultTabTwips;
    collected.page = page;
    return RichText::WriteRtf(collected);
}

std::string WritePlainText(const QTextDocument& document, int start, int end) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return ToWindows1252(text);
}

}  // namespace platform
