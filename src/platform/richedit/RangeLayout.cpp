#include "platform/richedit/RangeLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

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

}  // namespace

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
    QTextBlock block = m_document->findBlock(std::clamp(start, 0, length));
    if (!block.isValid()) {
        return std::nullopt;
    }
    const QTextLayout* layout = block.layout();
    QTextLine first = layout->lineForTextPosition(std::clamp(start, 0, length) - block.position());
    int lineIndex = first.isValid() ? first.lineNumber() : 0;

    const qreal height = FromTwips(rectTwips.height(), m_dpiY);
    const QPointF origin(FromTwips(rectTwips.left(), m_dpiX), FromTwips(rectTwips.top(), m_dpiY));
    qreal top = 0;
    int linesDrawn = 0;
    if (painter) {
        painter->save();
        painter->setPen(Qt::black);  // the automatic text colour on paper
    }
    int next = length;
    while (block.isValid()) {
        layout = block.layout();
        if (lineIndex >= layout->lineCount()) {
            block = block.next();
            lineIndex = 0;
            continue;
        }
        const QTextLine line = layout->lineAt(lineIndex);
        const qreal lineTop = layout->position().y() + line.y();
        if (linesDrawn == 0) {
            top = lineTop;
        }
        if (lineTop + line.height() - top > height + kFitTolerance) {
            next = block.position() + line.textStart();
            break;
        }
        if (painter) {
            line.draw(painter, origin + layout->position() - QPointF(0, top));
        }
        ++linesDrawn;
        ++lineIndex;
    }
    if (painter) {
        painter->restore();
    }
    if (linesDrawn == 0) {
        return std::nullopt;
    }
    return next;
}

}  // namespace platform
