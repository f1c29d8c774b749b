#include "platform/richedit/RangeLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/richedit/TextProperties.h"

namespace platform {
namespace {

// Line heights are fractional; a line that ends this close to the bottom of
// the rectangle still fits.
constexpr qreal kFitTolerance = 1e-6;

qreal FromTwips(int twips, int dpi) {
    return static_cast<qreal>(twips) * dpi / kTwipsPerInch;
}

// With design metrics on, Qt scales tab stop distances once more by the
// ratio of the device's resolution to the screen's: 1200 dpi paper got tab
// stops 12.5 inches apart, and every question line broke after its left
// exercise. The factor is measured on the device rather than assumed.
qreal TabStopScale(QPaintDevice& device) {
    constexpr qreal kProbeDistance = 1000;
    QTextDocument probe;
    probe.documentLayout()->setPaintDevice(&device);
    probe.setUseDesignMetrics(true);
    probe.setDocumentMargin(0);
    QTextOption option = probe.defaultTextOption();
    option.setTabStopDistance(kProbeDistance);
    probe.setDefaultTextOption(option);
    probe.setTextWidth(100 * kProbeDistance);
    probe.setPlainText(QStringLiteral("\tX"));
    probe.size();
    const QTextLayout* layout = probe.begin().layout();
    const qreal afterTab = layout->lineCount() > 0 ? layout->lineAt(0).cursorToX(1) : 0;
    return afterTab > 0 ? afterTab / kProbeDistance : 1;
}

// The table that holds a block at the outermost level, if any: a page takes
// or leaves such a table whole.
const QTextTable* OutermostTable(const QTextDocument& document, const QTextBlock& block) {
    const QTextTable* outermost = nullptr;
    for (const QTextFrame* frame = document.frameAt(block.position()); frame;
         frame = frame->parentFrame()) {
        if (const auto* table = qobject_cast<const QTextTable*>(frame)) {
            outermost = table;
        }
    }
    return outermost;
}

}  // namespace

// What a page takes or leaves whole: a line of a paragraph, or rows of a
// table up to a place where no cell spans two rows. A table's rows are kept
// together like kept paragraphs, so that a table parts only where it is
// taller than a page.
struct RangeLayout::Unit {
    QTextBlock block;  // the line's block, or the first block of the rows
    int line = 0;
    const QTextTable* table = nullptr;
    int firstRow = 0;  // the table's rows firstRow .. endRow - 1
    int endRow = 0;
    qreal top = 0;
    qreal bottom = 0;
    int position = 0;  // of its first character
    // Where the rows' drawing is cut: a pixel in from the lines of the blocks
    // around the table, or near the middle of the gap between two rows'
    // texts, where the line between them stands.
    qreal clipTop = 0;
    qreal clipBottom = 0;

    bool IsValid() const { return block.isValid(); }
};

namespace {

// Where the text of a table's row `row` starts, and where the text of the
// row `row - 1` ends, from the cells that start or end there: the line
// between the two rows is drawn in the gap.
std::pair<qreal, qreal> GapAbove(const QTextDocument& document, const QTextTable& table, int row) {
    const QAbstractTextDocumentLayout& layout = *document.documentLayout();
    qreal above = 0;
    qreal below = std::numeric_limits<qreal>::max();
    for (int c = 0; c < table.columns(); ++c) {
        const QTextTableCell upper = table.cellAt(row - 1, c);
        if (upper.column() == c) {
            above = std::max(above,
                             layout.blockBoundingRect(upper.lastCursorPosition().block()).bottom());
        }
        const QTextTableCell lower = table.cellAt(row, c);
        if (lower.column() == c) {
            below = std::min(below,
                             layout.blockBoundingRect(lower.firstCursorPosition().block()).top());
        }
    }
    return {above, std::max(below, above)};
}

// Whether a page may end between rows `row - 1` and `row`: no cell spans both.
bool RowsPart(const QTextTable& table, int row) {
    for (int c = 0; c < table.columns(); ++c) {
        const QTextTableCell cell = table.cellAt(row, c);
        if (cell.row() != row) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Where a table stands: from the end of the block before it to the start of
// the block after it, which Qt keeps around every table. (The layout's own
// rectangle of a table starts at its first cell's text, a border and a
// padding lower, and would reach into the line below.)
QRectF RangeLayout::TableRect(const QTextTable& table) const {
    const QAbstractTextDocumentLayout& layout = *m_document->documentLayout();
    QRectF rect = layout.frameBoundingRect(const_cast<QTextTable*>(&table));
    const QTextBlock before = m_document->findBlock(table.firstPosition() - 1);
    const QTextBlock after = m_document->findBlock(table.lastPosition() + 1);
    if (before.isValid() && !OutermostTable(*m_document, before)) {
        rect.setTop(layout.blockBoundingRect(before).bottom());
    }
    if (after.isValid() && !OutermostTable(*m_document, after)) {
        rect.setBottom(layout.blockBoundingRect(after).top());
    }
    return rect;
}

// The rows of `table` from the one that holds `block` to the next place a
// page may end, or the table's end.
RangeLayout::Unit RangeLayout::RowsAt(const QTextTable& table, const QTextBlock& block) const {
    int first = std::max(table.cellAt(block.position()).row(), 0);
    while (first > 0 && !RowsPart(table, first)) {
        --first;
    }
    int end = first + 1;
    while (end < table.rows() && !RowsPart(table, end)) {
        ++end;
    }
    const QRectF rect = TableRect(table);
    // Halfway through the gap between two rows' texts, and half that gap.
    const auto between = [&](int row) {
        const auto [above, below] = GapAbove(*m_document, table, row);
        return std::pair((above + below) / 2, (below - above) / 2);
    };
    Unit unit;
    unit.position = table.cellAt(first, 0).firstPosition();
    unit.block = m_document->findBlock(unit.position);
    unit.table = &table;
    unit.firstRow = first;
    unit.endRow = end;
    unit.top = rect.top();
    unit.bottom = rect.bottom();
    unit.clipTop = rect.top() + 1;
    unit.clipBottom = rect.bottom() - 1;
    if (first > 0) {
        const auto [middle, half] = between(first);
        unit.top = middle;
        unit.clipTop = middle + half / 2;
    }
    if (end < table.rows()) {
        const auto [middle, half] = between(end);
        unit.bottom = middle;
        unit.clipBottom = middle - half / 2;
    }
    return unit;
}

RangeLayout::Unit RangeLayout::UnitAt(QTextBlock block, int line) const {
    while (block.isValid()) {
        if (const QTextTable* table = OutermostTable(*m_document, block)) {
            return RowsAt(*table, block);
        }
        const QTextLayout* layout = block.layout();
        if (line < layout->lineCount()) {
            const QTextLine shown = layout->lineAt(line);
            const qreal top = layout->position().y() + shown.y();
            Unit unit;
            unit.block = block;
            unit.line = line;
            unit.top = top;
            unit.bottom = top + shown.height();
            unit.position = block.position() + shown.textStart();
            return unit;
        }
        block = block.next();
        line = 0;
    }
    return {};
}

RangeLayout::Unit RangeLayout::NextUnit(const Unit& unit) const {
    if (unit.table) {
        const int next = unit.endRow < unit.table->rows()
                             ? unit.table->cellAt(unit.endRow, 0).firstPosition()
                             : unit.table->lastPosition() + 1;
        return UnitAt(m_document->findBlock(next), 0);
    }
    return UnitAt(unit.block, unit.line + 1);
}

// The bottom of what must share a page with the unit: a paragraph kept with
// what follows it stays with the first line or the table after it, and so
// on along a chain of such paragraphs and of tables whose last row is kept
// with what follows.
qreal RangeLayout::KeptBottom(const Unit& unit) const {
    // A table's rows stay together where a page holds them all: what follows
    // its first rows is its last ones. Once parted, the rest flows on.
    const auto lastRows = [&](const Unit& u) {
        return u.table && u.firstRow == 0 && u.endRow < u.table->rows()
                   ? RowsAt(*u.table, m_document->findBlock(u.table->lastPosition()))
                   : u;
    };
    const auto keptWithNext = [&](const Unit& u) {
        const QTextBlock last = u.table ? m_document->findBlock(u.table->lastPosition()) : u.block;
        return last.blockFormat().boolProperty(kKeepWithNextProperty);
    };
    Unit current = lastRows(unit);
    qreal bottom = current.bottom;
    while (keptWithNext(current)) {
        const Unit last = current.table
                              ? current
                              : UnitAt(current.block, current.block.layout()->lineCount() - 1);
        bottom = std::max(bottom, last.bottom);
        const Unit next = NextUnit(last);
        if (!next.IsValid()) {
            break;
        }
        current = lastRows(next);
        bottom = current.bottom;
    }
    return bottom;
}

void RangeLayout::DrawTable(const Unit& unit, QPainter& painter, const QPointF& offset) const {
    painter.save();
    painter.translate(offset);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);  // the automatic colour on paper
    context.clip = QRectF(0, unit.clipTop, m_document->textWidth(), unit.clipBottom - unit.clipTop);
    // Qt draws the lines of a row that reaches into the rectangle whole: the
    // painter cuts them at its edges.
    painter.setClipRect(context.clip, Qt::IntersectClip);
    m_document->documentLayout()->draw(&painter, context);
    painter.restore();
}

RangeLayout::RangeLayout(const QTextDocument& source, QPaintDevice& device, int widthTwips,
                         int defaultTabTwips)
    : m_document(source.clone()),
      m_device(&device),
      m_dpiX(device.logicalDpiX()),
      m_dpiY(device.logicalDpiY()),
      m_widthTwips(widthTwips) {
    // Font sizes become device pixels through the layout's paint device; design
    // metrics keep glyph advances free of screen hinting, as on paper.
    m_document->documentLayout()->setPaintDevice(&device);
    m_document->setUseDesignMetrics(true);
    m_document->setDocumentMargin(0);
    QTextOption option = m_document->defaultTextOption();
    option.setTabStopDistance(FromTwips(defaultTabTwips, m_dpiX) / TabStopScale(device));
    m_document->setDefaultTextOption(option);
    m_document->setTextWidth(FromTwips(widthTwips, m_dpiX));
    m_document->size();  // lays out the whole document now
}

RangeLayout::~RangeLayout() = default;

bool RangeLayout::Serves(const QPaintDevice& device, int widthTwips) const {
    return &device == m_device && device.logicalDpiX() == m_dpiX &&
           device.logicalDpiY() == m_dpiY && widthTwips == m_widthTwips;
}

int RangeLayout::TextLength() const {
    return m_document->characterCount() - 1;
}

std::optional<int> RangeLayout::Format(int start, const QRect& rectTwips, QPainter* painter) const {
    const int length = TextLength();
    const int from = std::clamp(start, 0, length);
    const QTextBlock block = m_document->findBlock(from);
    if (!block.isValid()) {
        return std::nullopt;
    }
    int line = 0;
    if (!OutermostTable(*m_document, block)) {
        const QTextLine first = block.layout()->lineForTextPosition(from - block.position());
        line = first.isValid() ? first.lineNumber() : 0;
    }

    const qreal height = FromTwips(rectTwips.height(), m_dpiY) + kFitTolerance;
    const QPointF origin(FromTwips(rectTwips.left(), m_dpiX), FromTwips(rectTwips.top(), m_dpiY));
    qreal top = 0;
    int unitsDrawn = 0;
    if (painter) {
        painter->save();
        painter->setPen(Qt::black);  // the automatic text colour on paper
    }
    int next = length;
    for (Unit unit = UnitAt(block, line); unit.IsValid(); unit = NextUnit(unit)) {
        if (unitsDrawn == 0) {
            top = unit.top;
        }
        // Rows taller than a page that no page may part are drawn on a page
        // of their own.
        const bool fits = unit.bottom - top <= height || (unit.table && unitsDrawn == 0);
        // What must share a page with the unit goes to the next page, unless
        // it would not fit on a whole page either.
        const qreal kept = KeptBottom(unit);
        const bool keptFits = kept - top <= height || kept - unit.top > height;
        if (!fits || (unitsDrawn > 0 && !keptFits)) {
            next = unit.position;
            break;
        }
        if (painter) {
            const QPointF offset = origin - QPointF(0, top);
            if (unit.table) {
                DrawTable(unit, *painter, offset);
            } else {
                const QTextLayout* layout = unit.block.layout();
                layout->lineAt(unit.line).draw(painter, offset + layout->position());
            }
        }
        ++unitsDrawn;
    }
    if (painter) {
        painter->restore();
    }
    if (unitsDrawn == 0) {
        return std::nullopt;
    }
    return next;
}

}  // namespace platform
