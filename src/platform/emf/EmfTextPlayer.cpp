#include "platform/emf/EmfPlayer.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::emf {

namespace {

// The largest text drawn when a picture plays, in pixels of the target.
constexpr qreal kLargestGlyphPixels = 4096;
// The most one axis may stretch text more than the other; a page picture in a
// box of another shape stays far below it.
constexpr qreal kLargestGlyphStretch = 8;

// Whether text in `font` would come out at a size Qt can draw: a glyph larger
// than any page picture, or squashed flat, comes only from a damaged file, and
// Qt's glyph cache crashes on such shapes. Both axes count: a damaged header
// can stretch one of them alone.
bool DrawableSize(const QPainter& painter, const QFont& font) {
    const QTransform& transform = painter.worldTransform();
    const qreal scaleX = std::hypot(transform.m11(), transform.m12());
    const qreal scaleY = std::hypot(transform.m21(), transform.m22());
    const qreal largest = font.pixelSize() * std::max(scaleX, scaleY);
    const qreal smallest = font.pixelSize() * std::min(scaleX, scaleY);
    return smallest > 0 && largest <= kLargestGlyphPixels &&
           largest <= kLargestGlyphStretch * smallest;
}

}  // namespace

void PlayText(QPainter& painter, const DeviceState& state, const RecordView& record) {
    using namespace emrText;
    if (!record.Holds(kExtTextOutFixedSize)) {
        return;
    }
    const QPointF reference = record.Point(kReference);
    const std::uint64_t count = record.U32(kChars);
    const std::uint64_t offString = record.U32(kStringOffset);
    const std::uint32_t options = record.U32(kOptions);
    const std::uint64_t offDx = record.U32(kAdvancesOffset);
    if (count == 0 || !record.Holds(offString + count * 2)) {
        return;
    }
    QString string;
    string.reserve(static_cast<qsizetype>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        string.append(QChar(record.U16(static_cast<std::uint32_t>(offString + i * 2))));
    }
    const std::uint64_t dxStep = (options & ETO_PDY) ? 8 : 4;
    std::vector<qreal> advances;
    if (offDx != 0 && record.Holds(offDx + count * dxStep)) {
        advances.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            advances.push_back(record.I32(static_cast<std::uint32_t>(offDx + i * dxStep)));
        }
    }

    const QFont& font = state.font.font;
    if (!DrawableSize(painter, font)) {
        return;
    }
    const QFontMetricsF metrics(font);
    qreal width = 0;
    if (advances.empty()) {
        width = metrics.horizontalAdvance(string);
    } else {
        for (const qreal advance : advances) {
            width += advance;
        }
    }
    QPointF origin = reference;
    if ((state.textAlign & TA_BASELINE) == TA_BASELINE) {
        // the reference point is on the baseline
    } else if (state.textAlign & TA_BOTTOM) {
        origin.ry() -= metrics.descent();
    } else {
        origin.ry() += metrics.ascent();
    }
    if ((state.textAlign & TA_CENTER) == TA_CENTER) {
        origin.rx() -= width / 2;
    } else if (state.textAlign & TA_RIGHT) {
        origin.rx() -= width;
    }

    painter.setPen(state.textColor);
    painter.setFont(font);
    if (advances.empty()) {
        // Qt draws the font's underline and strike-out itself.
        painter.drawText(origin, string);
        return;
    }
    // The characters go exactly where the advances put them: as one run of
    // glyphs when the font has a glyph for each, one by one otherwise.
    const QRawFont& raw = state.font.raw;
    const QList<quint32> glyphs =
        raw.isValid() ? raw.glyphIndexesForString(string) : QList<quint32>();
    const bool whole =
        glyphs.size() == string.size() &&
        std::none_of(glyphs.begin(), glyphs.end(), [](quint32 glyph) { return glyph == 0; });
    QList<QPointF> positions;
    qreal x = 0;
    for (const qreal advance : advances) {
        positions.append(QPointF(x, 0));
        x += advance;
    }
    if (whole) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(origin, run);
    } else {
        for (qsizetype i = 0; i < string.size(); ++i) {
            painter.drawText(origin + positions.at(i), QString(string.at(i)));
        }
    }
    // Drawn here across the advances: glyph runs place their own underline
    // from the run's start, not where the text is.
    const qreal thickness = std::max<qreal>(1, metrics.lineWidth());
    if (font.underline()) {
        painter.fillRect(QRectF(origin.x(), origin.y() + metrics.underlinePos(), width, thickness),
                         state.textColor);
    }
    if (font.strikeOut()) {
        painter.fillRect(QRectF(origin.x(), origin.y() - metrics.strikeOutPos(), width, thickness),
                         state.textColor);
    }
}

}  // namespace platform::emf
