#include "platform/emf/EmfPlayer.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <optional>

namespace platform::emf {

namespace {

// Deeper EMR_SAVEDC nesting is ignored.
constexpr std::size_t kMaxSavedStates = 256;

QPen PenFrom(std::uint32_t style, std::int32_t width, std::uint32_t color) {
    QPen pen(FromColorRef(color));
    // Wider than any page: a damaged width field.
    pen.setWidth(std::clamp(width, 1, 1 << 20));
    switch (style & PS_STYLE_MASK) {
        case PS_NULL:
            return QPen(Qt::NoPen);
        case PS_DASH:
            pen.setStyle(Qt::DashLine);
            break;
        case PS_DOT:
            pen.setStyle(Qt::DotLine);
            break;
        case PS_DASHDOT:
            pen.setStyle(Qt::DashDotLine);
            break;
        case PS_DASHDOTDOT:
            pen.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
    }
    if (style & PS_GEOMETRIC) {
        pen.setCapStyle((style & PS_ENDCAP_FLAT)     ? Qt::FlatCap
                        : (style & PS_ENDCAP_SQUARE) ? Qt::SquareCap
                                                     : Qt::RoundCap);
        pen.setJoinStyle((style & PS_JOIN_MITER)   ? Qt::MiterJoin
                         : (style & PS_JOIN_BEVEL) ? Qt::BevelJoin
                                                   : Qt::RoundJoin);
    }
    return pen;
}

// The LOGFONTW of an EMR_EXTCREATEFONTINDIRECTW, which holds it whole.
FontObject FontFrom(const RecordView& record) {
    using namespace emrCreateFont;
    QString family;
    for (std::uint32_t i = 0; i < kFaceNameChars; ++i) {
        const std::uint16_t unit = record.u16(kLogFont + kFaceName + 2 * i);
        if (unit == 0) {
            break;
        }
        family.append(QChar(unit));
    }
    QFont font(family.isEmpty() ? QStringLiteral("Arial") : family);
    const std::int32_t height = record.i32(kLogFont + kHeight);
    // A negative height is the character (em) height; a positive one is the
    // whole cell, ascent plus descent.
    qreal em = 12;
    if (height < 0) {
        em = -static_cast<qreal>(height);
    } else if (height > 0) {
        QFont probe(font);
        probe.setPixelSize(1000);
        const QFontMetricsF metrics(probe);
        em = height * 1000.0 / std::max<qreal>(1, metrics.ascent() + metrics.descent());
    }
    font.setPixelSize(std::clamp(qRound(em), 1, 100000));
    const std::int32_t weight = record.i32(kLogFont + kWeight);
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : std::min(weight, 1000)));
    font.setItalic(record.u8(kLogFont + kItalic) != 0);
    font.setUnderline(record.u8(kLogFont + kUnderline) != 0);
    font.setStrikeOut(record.u8(kLogFont + kStrikeOut) != 0);
    return {font, QRawFont::fromFont(font)};
}

// Reads `count` points from `at`, 32-bit or 16-bit coordinates; nothing when
// the record does not hold them.
std::optional<QPolygonF> Points(const RecordView& record, std::uint32_t at, std::uint64_t count,
                                bool small) {
    const std::uint64_t pointSize = small ? 4 : 8;
    if (!record.holds(at + count * pointSize)) {
        return std::nullopt;
    }
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t offset = at + static_cast<std::uint32_t>(i * pointSize);
        if (small) {
            polygon.append(QPointF(record.i16(offset), record.i16(offset + 2)));
        } else {
            polygon.append(record.point(offset));
        }
    }
    return polygon;
}

}  // namespace

QColor FromColorRef(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Player::Player(QPainter& painter, std::uint16_t handles) : m_painter(painter), m_objects(handles) {
    m_state.font = {QFont(QStringLiteral("Arial")), QRawFont()};
    m_state.font.font.setPixelSize(12);
}

void Player::play(const RecordView& record) {
    const std::uint32_t value = emrRecord::kValue;
    const std::uint32_t index = emrObject::kIndex;
    switch (record.type()) {
        case EMR_CREATEPEN:
            if (record.holds(emrCreatePen::kSize)) {
                using namespace emrCreatePen;
                store(record.u32(index), PenObject{PenFrom(record.u32(kStyle), record.i32(kWidth),
                                                           record.u32(kColor))});
            }
            break;
        case EMR_EXTCREATEPEN:
            if (record.holds(emrExtCreatePen::kMinimumSize)) {
                using namespace emrExtCreatePen;
                store(record.u32(index), PenObject{PenFrom(record.u32(kStyle), record.i32(kWidth),
                                                           record.u32(kColor))});
            }
            break;
        case EMR_CREATEBRUSHINDIRECT:
            if (record.holds(emrCreateBrush::kSize)) {
                using namespace emrCreateBrush;
                store(record.u32(index),
                      BrushObject{record.u32(kStyle) == BS_NULL
                                      ? QBrush(Qt::NoBrush)
                                      : QBrush(FromColorRef(record.u32(kColor)))});
            }
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            if (record.holds(emrCreateFont::kLogFont + kLogFontSize)) {
                store(record.u32(index), FontFrom(record));
            }
            break;
        case EMR_SELECTOBJECT:
            if (record.holds(emrRecord::kValueSize)) {
                select(record.u32(value));
            }
            break;
        case EMR_DELETEOBJECT:
            if (record.holds(emrRecord::kValueSize) && record.u32(value) < m_objects.size()) {
                m_objects[record.u32(value)] = std::monostate{};
            }
            break;
        case EMR_SETTEXTCOLOR:
            if (record.holds(emrRecord::kValueSize)) {
                m_state.textColor = FromColorRef(record.u32(value));
            }
            break;
        case EMR_SETTEXTALIGN:
            if (record.holds(emrRecord::kValueSize)) {
                m_state.textAlign = record.u32(value);
            }
            break;
        case EMR_SETPOLYFILLMODE:
            if (record.holds(emrRecord::kValueSize)) {
                m_state.fillRule = record.u32(value) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
            }
            break;
        case EMR_SAVEDC:
            if (m_saved.size() < kMaxSavedStates) {
                m_saved.push_back(m_state);
            }
            break;
        case EMR_RESTOREDC:
            if (record.holds(emrRecord::kValueSize)) {
                restore(record.i32(value));
            }
            break;
        case EMR_MOVETOEX:
            if (record.holds(emrPoint::kSize)) {
                m_state.position = record.point(emrPoint::kX);
            }
            break;
        case EMR_LINETO:
            if (record.holds(emrPoint::kSize)) {
                const QPointF to = record.point(emrPoint::kX);
                usePenAndBrush();
                m_painter.drawLine(m_state.position, to);
                m_state.position = to;
            }
            break;
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
            if (record.holds(emrBox::kSize)) {
                box(record);
            }
            break;
        case EMR_POLYGON:
        case EMR_POLYLINE:
        case EMR_POLYGON16:
        case EMR_POLYLINE16:
            poly(record);
            break;
        case EMR_POLYPOLYGON:
        case EMR_POLYPOLYLINE:
            polyPoly(record);
            break;
        case EMR_EXTTEXTOUTW:
            PlayText(m_painter, m_state, record);
            break;
        default:
            break;  // not drawn: header, end, states this player does not follow
    }
}

void Player::store(std::uint32_t index, Object object) {
    // Index 0 stands for the metafile itself.
    if (index == 0 || index >= m_objects.size()) {
        return;
    }
    m_objects[index] = std::move(object);
}

void Player::select(std::uint32_t index) {
    if (index & kStockObject) {
        switch (index & ~kStockObject) {
            case WHITE_BRUSH:
                m_state.brush = QBrush(Qt::white);
                break;
            case BLACK_BRUSH:
                m_state.brush = QBrush(Qt::black);
                break;
            case NULL_BRUSH:
                m_state.brush = QBrush(Qt::NoBrush);
                break;
            case WHITE_PEN:
                m_state.pen = QPen(Qt::white, 1);
                break;
            case BLACK_PEN:
                m_state.pen = QPen(Qt::black, 1);
                break;
            case NULL_PEN:
                m_state.pen = QPen(Qt::NoPen);
                break;
            default:
                break;  // stock fonts and palettes: the current one stays
        }
        return;
    }
    if (index >= m_objects.size()) {
        return;
    }
    const Object& object = m_objects[index];
    if (const auto* pen = std::get_if<PenObject>(&object)) {
        m_state.pen = pen->pen;
    } else if (const auto* brush = std::get_if<BrushObject>(&object)) {
        m_state.brush = brush->brush;
    } else if (const auto* font = std::get_if<FontObject>(&object)) {
        m_state.font = *font;
    }
}

void Player::restore(std::int32_t which) {
    // Negative: that many states back; positive: the state saved at that
    // depth, counted from 1.
    std::size_t keep;
    if (which < 0) {
        const std::size_t back = static_cast<std::size_t>(-static_cast<std::int64_t>(which));
        if (back > m_saved.size()) {
            return;
        }
        keep = m_saved.size() - back;
    } else if (which > 0 && static_cast<std::size_t>(which) <= m_saved.size()) {
        keep = static_cast<std::size_t>(which) - 1;
    } else {
        return;
    }
    m_state = m_saved[keep];
    m_saved.resize(keep);
}

void Player::usePenAndBrush() {
    m_painter.setPen(m_state.pen);
    m_painter.setBrush(m_state.brush);
}

void Player::box(const RecordView& record) {
    const QPointF topLeft = record.point(emrBox::kBox);
    const QPointF bottomRight = record.point(emrBox::kBox + 8);
    // The right and bottom edges are outside the box.
    const QRectF rect = QRectF(topLeft, bottomRight - QPointF(1, 1)).normalized();
    usePenAndBrush();
    if (record.type() == EMR_ELLIPSE) {
        m_painter.drawEllipse(rect);
    } else {
        m_painter.drawRect(rect);
    }
}

void Player::poly(const RecordView& record) {
    if (!record.holds(emrPoly::kPoints)) {
        return;
    }
    const bool small = record.type() == EMR_POLYGON16 || record.type() == EMR_POLYLINE16;
    const auto polygon = Points(record, emrPoly::kPoints, record.u32(emrPoly::kCount), small);
    if (!polygon) {
        return;
    }
    usePenAndBrush();
    if (record.type() == EMR_POLYGON || record.type() == EMR_POLYGON16) {
        m_painter.drawPolygon(*polygon, m_state.fillRule);
    } else {
        m_painter.drawPolyline(*polygon);
    }
}

void Player::polyPoly(const RecordView& record) {
    using namespace emrPolyPoly;
    if (!record.holds(kCounts)) {
        return;
    }
    const std::uint64_t polygons = record.u32(kPolygons);
    const std::uint64_t total = record.u32(kTotal);
    const std::uint64_t countsEnd = kCounts + polygons * 4;
    if (!record.holds(countsEnd)) {
        return;
    }
    const auto all = Points(record, static_cast<std::uint32_t>(countsEnd), total, false);
    if (!all) {
        return;
    }
    usePenAndBrush();
    QPainterPath path;
    path.setFillRule(m_state.fillRule);
    std::uint64_t next = 0;
    for (std::uint64_t i = 0; i < polygons; ++i) {
        const std::uint64_t count = record.u32(kCounts + static_cast<std::uint32_t>(i * 4));
        if (count > total - next) {
            return;  // the counts claim more points than the record has
        }
        const QPolygonF polygon =
            all->mid(static_cast<qsizetype>(next), static_cast<qsizetype>(count));
        next += count;
        if (record.type() == EMR_POLYPOLYGON) {
            path.addPolygon(polygon);
            path.closeSubpath();
        } else {
            m_painter.drawPolyline(polygon);
        }
    }
    if (record.type() == EMR_POLYPOLYGON) {
        m_painter.drawPath(path);
    }
}

}  // namespace platform::emf
