#include "platform/emf/EmfPaintEngine.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPolygon>
#include <QTextLayout>
#include <QtEndian>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace platform {

using namespace emf;

namespace {

// Objects kept in the table before the unused ones are deleted; a page of
// text needs a handful.
constexpr qsizetype kMaxObjects = 64;
// How far, in device pixels, a painter's underline may reach past the text
// that it underlines (it is drawn from whole pixels).
constexpr qreal kDecorationSlack = 1.5;

std::uint32_t ColorRef(const QColor& color) {
    const QRgb rgb = color.rgb();
    return static_cast<std::uint32_t>(qRed(rgb)) | (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
           (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

QColor BrushColor(const QBrush& brush) {
    if (brush.gradient() && !brush.gradient()->stops().isEmpty()) {
        return brush.gradient()->stops().first().second;
    }
    return brush.color();
}

bool IsNull(const QBrush& brush) {
    return brush.style() == Qt::NoBrush || brush.style() == Qt::TexturePattern ||
           BrushColor(brush).alpha() == 0;
}

bool IsNull(const QPen& pen) {
    return pen.style() == Qt::NoPen || IsNull(pen.brush());
}

qreal AxisScale(const QTransform& transform, const QPointF& unit) {
    return QLineF(transform.map(QPointF(0, 0)), transform.map(unit)).length();
}

std::uint8_t PitchAndFamily(const QFont& font) {
    switch (font.styleHint()) {
        case QFont::SansSerif:
            return 0x20;  // FF_SWISS
        case QFont::Serif:
            return 0x10;  // FF_ROMAN
        case QFont::TypeWriter:
        case QFont::Monospace:
            return 0x31;  // FF_MODERN | FIXED_PITCH
        default:
            return 0;
    }
}

std::uint32_t PenStyle(const QPen& pen) {
    std::uint32_t style = PS_GEOMETRIC;
    switch (pen.style()) {
        case Qt::DashLine:
            style |= PS_DASH;
            break;
        case Qt::DotLine:
            style |= PS_DOT;
            break;
        case Qt::DashDotLine:
            style |= PS_DASHDOT;
            break;
        case Qt::DashDotDotLine:
            style |= PS_DASHDOTDOT;
            break;
        default:
            style |= PS_SOLID;
            break;
    }
    switch (pen.capStyle()) {
        case Qt::FlatCap:
            style |= PS_ENDCAP_FLAT;
            break;
        case Qt::SquareCap:
            style |= PS_ENDCAP_SQUARE;
            break;
        default:
            break;  // round
    }
    switch (pen.joinStyle()) {
        case Qt::MiterJoin:
        case Qt::SvgMiterJoin:
            style |= PS_JOIN_MITER;
            break;
        case Qt::BevelJoin:
            style |= PS_JOIN_BEVEL;
            break;
        default:
            break;  // round
    }
    return style;
}

QRect BoundsOf(const QPolygon& points) {
    return points.boundingRect();
}

}  // namespace

EmfPaintEngine::EmfPaintEngine(const QPaintDevice* device, QSizeF hundredthsMmPerPixel)
    : QPaintEngine(QPaintEngine::AllFeatures), m_device(device), m_scale(hundredthsMmPerPixel) {}

EmfPaintEngine::~EmfPaintEngine() = default;

bool EmfPaintEngine::begin(QPaintDevice*) {
    if (m_finished) {
        return false;
    }
    if (!m_started) {
        // Text is placed by its baseline and never paints its background:
        // the highlights are rectangles of their own.
        m_started = true;
        append(RecordBuilder(EMR_SETBKMODE).u32(TRANSPARENT).finish());
        append(RecordBuilder(EMR_SETTEXTALIGN).u32(TA_BASELINE).finish());
    }
    m_pen = QPen();
    m_brush = QBrush();
    m_transform = QTransform();
    return true;
}

bool EmfPaintEngine::end() {
    return true;
}

void EmfPaintEngine::updateState(const QPaintEngineState& state) {
    const QPaintEngine::DirtyFlags dirty = state.state();
    if (dirty & DirtyPen) {
        m_pen = state.pen();
    }
    if (dirty & DirtyBrush) {
        m_brush = state.brush();
    }
    if (dirty & DirtyTransform) {
        m_transform = state.transform();
    }
}

void EmfPaintEngine::append(const QByteArray& record) {
    if (m_finished) {
        return;
    }
    m_records.append(record);
    ++m_recordCount;
}

void EmfPaintEngine::addBounds(const QRect& rect) {
    m_bounds = m_bounds.isValid() ? m_bounds.united(rect) : rect;
}

std::uint32_t EmfPaintEngine::objectFor(const QByteArray& body, std::uint32_t createType) {
    QByteArray key = body;
    key.prepend(reinterpret_cast<const char*>(&createType), sizeof createType);
    if (const auto found = m_objects.constFind(key); found != m_objects.constEnd()) {
        return found.value();
    }
    if (m_objects.size() >= kMaxObjects) {
        for (auto it = m_objects.begin(); it != m_objects.end();) {
            const std::uint32_t index = it.value();
            if (index == m_penSelected || index == m_brushSelected || index == m_fontSelected) {
                ++it;
                continue;
            }
            append(RecordBuilder(EMR_DELETEOBJECT).u32(index).finish());
            m_freeIndexes.push_back(index);
            it = m_objects.erase(it);
        }
    }
    std::uint32_t index;
    if (!m_freeIndexes.empty()) {
        index = m_freeIndexes.back();
        m_freeIndexes.pop_back();
    } else {
        index = m_nextIndex++;
    }
    RecordBuilder record(createType);
    record.u32(index);
    QByteArray bytes = record.finish();
    bytes.append(body);
    // The body is already a whole number of 4-byte fields; only the size
    // field changes.
    const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    qToLittleEndian(size, bytes.data() + 4);
    append(bytes);
    m_objects.insert(key, index);
    return index;
}

void EmfPaintEngine::select(std::uint32_t index, std::uint32_t& current) {
    if (index == current) {
        return;
    }
    append(RecordBuilder(EMR_SELECTOBJECT).u32(index).finish());
    current = index;
}

int EmfPaintEngine::penMargin() const {
    if (IsNull(m_pen)) {
        return 0;
    }
    const qreal scale = std::sqrt(std::abs(m_transform.determinant()));
    return m_pen.isCosmetic() ? 1 : qCeil(m_pen.widthF() * scale / 2) + 1;
}

void EmfPaintEngine::usePen() {
    if (IsNull(m_pen)) {
        select(kStockObject | NULL_PEN, m_penSelected);
        return;
    }
    const qreal scale = std::sqrt(std::abs(m_transform.determinant()));
    const int width = m_pen.isCosmetic() ? 1 : std::max(1, qRound(m_pen.widthF() * scale));
    RecordBuilder body(0);
    body.u32(0).u32(0).u32(0).u32(0);  // no brush bitmap
    body.u32(PenStyle(m_pen)).u32(static_cast<std::uint32_t>(width)).u32(BS_SOLID);
    body.u32(ColorRef(m_pen.brush().gradient() ? BrushColor(m_pen.brush()) : m_pen.color()));
    // Hatch, no dash entries, and the one empty entry that the structure
    // declares, so that readers expecting its full size find it.
    body.u32(0).u32(0).u32(0);
    select(objectFor(body.finish().mid(8), EMR_EXTCREATEPEN), m_penSelected);
}

void EmfPaintEngine::useBrush() {
    if (IsNull(m_brush)) {
        select(kStockObject | NULL_BRUSH, m_brushSelected);
        return;
    }
    RecordBuilder body(0);
    body.u32(BS_SOLID).u32(ColorRef(BrushColor(m_brush))).u32(0);
    select(objectFor(body.finish().mid(8), EMR_CREATEBRUSHINDIRECT), m_brushSelected);
}

void EmfPaintEngine::useFont(const QFont& font, qreal pixelHeight) {
    RecordBuilder body(0);
    body.i32(-std::max(1, qRound(pixelHeight)));  // negative: the character height
    body.i32(0).i32(0).i32(0);                    // width, escapement, orientation
    body.i32(std::clamp(static_cast<int>(font.weight()), 1, 1000));
    body.u8(font.italic() ? 1 : 0).u8(font.underline() ? 1 : 0).u8(font.strikeOut() ? 1 : 0);
    body.u8(DEFAULT_CHARSET).u8(0).u8(0).u8(0).u8(PitchAndFamily(font));
    const QString family = font.family().left(kFaceNameChars - 1);
    body.utf16(family, kFaceNameChars);
    // Full name, style, version, style size, match, reserved, vendor,
    // culture and PANOSE, as Windows writes them after the LOGFONTW.
    body.utf16(family.left(63), 64);
    body.utf16(QString(), 32);
    for (int i = 0; i < 6; ++i) {
        body.u32(0);
    }
    for (int i = 0; i < 12; ++i) {
        body.u8(0);
    }
    select(objectFor(body.finish().mid(8), EMR_EXTCREATEFONTINDIRECTW), m_fontSelected);
}

void EmfPaintEngine::useTextColor(QColor color) {
    const QRgb rgb = color.rgb();
    if (m_textColor == rgb) {
        return;
    }
    append(RecordBuilder(EMR_SETTEXTCOLOR).u32(ColorRef(color)).finish());
    m_textColor = rgb;
}

void EmfPaintEngine::useFillMode(Qt::FillRule rule) {
    if (m_fillRule == rule) {
        return;
    }
    append(RecordBuilder(EMR_SETPOLYFILLMODE)
               .u32(rule == Qt::WindingFill ? WINDING : ALTERNATE)
               .finish());
    m_fillRule = rule;
}

void EmfPaintEngine::polyline(const QPolygon& points) {
    if (points.size() < 2 || IsNull(m_pen)) {
        return;
    }
    usePen();
    const int margin = penMargin();
    const QRect bounds = BoundsOf(points).adjusted(-margin, -margin, margin, margin);
    RecordBuilder record(EMR_POLYLINE);
    record.rect(bounds).u32(static_cast<std::uint32_t>(points.size()));
    for (const QPoint& point : points) {
        record.point(point);
    }
    append(record.finish());
    addBounds(bounds);
}

void EmfPaintEngine::polygons(const std::vector<QPolygon>& polygons, Qt::FillRule rule) {
    std::vector<QPolygon> kept;
    std::copy_if(polygons.begin(), polygons.end(), std::back_inserter(kept),
                 [](const QPolygon& polygon) { return polygon.size() >= 2; });
    if (kept.empty() || (IsNull(m_pen) && IsNull(m_brush))) {
        return;
    }
    useFillMode(rule);
    usePen();
    useBrush();
    const int margin = penMargin();
    QRect bounds;
    std::uint32_t total = 0;
    for (const QPolygon& polygon : kept) {
        bounds = bounds.isValid() ? bounds.united(BoundsOf(polygon)) : BoundsOf(polygon);
        total += static_cast<std::uint32_t>(polygon.size());
    }
    bounds.adjust(-margin, -margin, margin, margin);
    RecordBuilder record(kept.size() == 1 ? EMR_POLYGON : EMR_POLYPOLYGON);
    record.rect(bounds);
    if (kept.size() == 1) {
        record.u32(total);
    } else {
        record.u32(static_cast<std::uint32_t>(kept.size())).u32(total);
        for (const QPolygon& polygon : kept) {
            record.u32(static_cast<std::uint32_t>(polygon.size()));
        }
    }
    for (const QPolygon& polygon : kept) {
        for (const QPoint& point : polygon) {
            record.point(point);
        }
    }
    append(record.finish());
    addBounds(bounds);
}

void EmfPaintEngine::drawRects(const QRectF* rects, int count) {
    if (IsNull(m_pen) && IsNull(m_brush)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (m_transform.type() > QTransform::TxScale) {
            polygons({m_transform.map(QPolygonF(rects[i])).toPolygon()}, Qt::OddEvenFill);
            continue;
        }
        const QRectF device = m_transform.mapRect(rects[i]).normalized();
        const int left = qRound(device.left());
        const int top = qRound(device.top());
        const int right = qRound(device.right());
        const int bottom = qRound(device.bottom());
        usePen();
        useBrush();
        // The rectangle of the record leaves out its right and bottom
        // edges, so it reaches one pixel further than the area it covers.
        append(RecordBuilder(EMR_RECTANGLE)
                   .i32(left)
                   .i32(top)
                   .i32(right + 1)
                   .i32(bottom + 1)
                   .finish());
        const int margin = penMargin();
        addBounds(QRect(QPoint(left, top), QPoint(right, bottom))
                      .adjusted(-margin, -margin, margin, margin));
    }
}

std::vector<std::pair<qreal, qreal>> EmfPaintEngine::undecoratedParts(const QLineF& line) const {
    std::vector<std::pair<qreal, qreal>> parts{
        {std::min(line.x1(), line.x2()), std::max(line.x1(), line.x2())}};
    if (std::abs(line.y1() - line.y2()) > 0.5 || m_pen.capStyle() != Qt::FlatCap) {
        return parts;
    }
    const qreal y = line.y1();
    for (const Decoration& decoration : m_decorations) {
        if (y < decoration.top || y > decoration.bottom) {
            continue;
        }
        const qreal cutLeft = decoration.left - kDecorationSlack;
        const qreal cutRight = decoration.right + kDecorationSlack;
        std::vector<std::pair<qreal, qreal>> rest;
        for (const auto& [from, to] : parts) {
            if (to <= cutLeft || from >= cutRight) {
                rest.emplace_back(from, to);
                continue;
            }
            if (from < cutLeft) {
                rest.emplace_back(from, cutLeft);
            }
            if (to > cutRight) {
                rest.emplace_back(cutRight, to);
            }
        }
        parts = std::move(rest);
    }
    return parts;
}

void EmfPaintEngine::drawLines(const QLineF* lines, int count) {
    if (IsNull(m_pen)) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const QLineF line = m_transform.map(lines[i]);
        if (line.p1() == line.p2()) {
            polyline(QPolygon({line.p1().toPoint(), line.p2().toPoint()}));
            continue;
        }
        // An underline or strike-out that the painter draws under text is
        // already in the text's font: drawn twice it would come out doubled
        // (or thicker) in other programs.
        const bool horizontal = std::abs(line.y1() - line.y2()) <= 0.5;
        for (const auto& [from, to] : undecoratedParts(line)) {
            if (horizontal) {
                polyline(QPolygon(
                    {QPointF(from, line.y1()).toPoint(), QPointF(to, line.y2()).toPoint()}));
            } else {
                polyline(QPolygon({line.p1().toPoint(), line.p2().toPoint()}));
            }
        }
    }
}

void EmfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i) {
        polygon.append(points[i]);
    }
    const QPolygon device = m_transform.map(polygon).toPolygon();
    if (mode == PolylineMode) {
        polyline(device);
    } else {
        polygons({device}, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
}

void EmfPaintEngine::drawPath(const QPainterPath& path) {
    const QList<QPolygonF> subpaths = path.toSubpathPolygons(m_transform);
    std::vector<QPolygon> device;
    for (const QPolygonF& subpath : subpaths) {
        device.push_back(subpath.toPolygon());
    }
    if (IsNull(m_brush)) {
        for (const QPolygon& polygon : device) {
            polyline(polygon);
        }
    } else {
        polygons(device, path.fillRule());
    }
}

void EmfPaintEngine::drawPixmap(const QRectF&, const QPixmap&, const QRectF&) {}

void EmfPaintEngine::drawTextItem(const QPointF& point, const QTextItem& item) {
    const QString text = item.text();
    if (text.isEmpty() || m_pen.style() == Qt::NoPen || m_finished) {
        return;
    }
    // The item's font resolved for this device, so that point sizes become
    // the device's pixels.
    const QFont font(item.font(), m_device);
    const qreal emPixels = font.pixelSize() > 0
                               ? font.pixelSize()
                               : font.pointSizeF() * m_device->logicalDpiY() / 72.0;
    const qreal horizontal = AxisScale(m_transform, QPointF(1, 0));
    const qreal vertical = AxisScale(m_transform, QPointF(0, 1));
    const QPointF origin = m_transform.map(point);

    // Where each character starts, as Qt lays the run out, stretched to the
    // width that the painter gave the run (justification, letter spacing).
    QTextLayout layout(text, font, const_cast<QPaintDevice*>(m_device));
    QTextOption option;
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6);
    }
    layout.endLayout();
    const int count = static_cast<int>(text.size());
    std::vector<qreal> starts(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        starts[static_cast<std::size_t>(i)] = line.isValid() ? line.cursorToX(i) : 0;
    }
    const qreal natural = starts.back() - starts.front();
    const qreal stretch = natural > 0 ? item.width() / natural : 1;
    std::vector<int> positions(starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        positions[i] = qRound(origin.x() + (starts[i] - starts.front()) * stretch * horizontal);
    }

    useFont(font, emPixels * vertical);
    useTextColor(m_pen.color());

    const QPoint reference(positions.front(), qRound(origin.y()));
    const QRect bounds(QPoint(positions.front(), qFloor(origin.y() - item.ascent() * vertical)),
                       QPoint(std::max(positions.front(), positions.back()),
                              qCeil(origin.y() + item.descent() * vertical)));
    const std::uint32_t stringBytes = (static_cast<std::uint32_t>(count) * 2 + 3) / 4 * 4;
    RecordBuilder record(EMR_EXTTEXTOUTW);
    record.rect(bounds).u32(GM_COMPATIBLE);
    record.f32(static_cast<float>(m_scale.width())).f32(static_cast<float>(m_scale.height()));
    record.point(reference).u32(static_cast<std::uint32_t>(count)).u32(kExtTextOutFixedSize);
    record.u32(0);                                     // options: no clipping, no opaque box
    record.rect(QRect(QPoint(0, 0), QPoint(-1, -1)));  // no clipping rectangle
    record.u32(kExtTextOutFixedSize + stringBytes);
    record.utf16(text, count).align();
    for (int i = 0; i < count; ++i) {
        record.i32(positions[static_cast<std::size_t>(i) + 1] -
                   positions[static_cast<std::size_t>(i)]);
    }
    append(record.finish());
    addBounds(bounds);

    if ((font.underline() || font.strikeOut()) && m_transform.type() <= QTransform::TxScale) {
        const qreal baseline = origin.y();
        const qreal top = font.strikeOut() ? baseline - item.ascent() * vertical * 0.75 : baseline;
        const qreal bottom =
            font.underline() ? baseline + (item.descent() + 1) * vertical : baseline;
        m_decorations.push_back({origin.x(), origin.x() + item.width() * horizontal, top, bottom});
    }
}

EmfPaintEngine::Recording EmfPaintEngine::finish() {
    Recording recording;
    if (!m_finished) {
        // Leave the table empty, as a tidy metafile does.
        if (!m_objects.isEmpty()) {
            select(kStockObject | BLACK_PEN, m_penSelected);
            select(kStockObject | WHITE_BRUSH, m_brushSelected);
            select(kStockObject | 13, m_fontSelected);  // SYSTEM_FONT
            std::vector<std::uint32_t> indexes(m_objects.begin(), m_objects.end());
            std::sort(indexes.begin(), indexes.end());
            for (const std::uint32_t index : indexes) {
                append(RecordBuilder(EMR_DELETEOBJECT).u32(index).finish());
            }
        }
        append(RecordBuilder(EMR_EOF).u32(0).u32(16).u32(kEofSize).finish());
        m_finished = true;
    }
    recording.records = m_records;
    recording.recordCount = m_recordCount;
    recording.handleCount =
        static_cast<std::uint16_t>(std::min<std::uint32_t>(m_nextIndex, 0xFFFF));
    recording.bounds = m_bounds;
    return recording;
}

}  // namespace platform
