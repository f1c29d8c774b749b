#include "platform/emf/EmfPicture.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <variant>
#include <vector>

namespace platform {

using namespace emf;

namespace {

// The largest text drawn when a picture plays, in pixels of the target.
constexpr qreal kLargestGlyphPixels = 4096;
// The most one axis may stretch text more than the other; a page picture in a
// box of another shape stays far below it.
constexpr qreal kLargestGlyphStretch = 8;

// Larger files are not pages of this program; reading them would only cost
// memory.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
// Deeper EMR_SAVEDC nesting is ignored.
constexpr std::size_t kMaxSavedStates = 256;

QColor FromColorRef(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// One record, whose fields are read only once the record is known to hold
// them.
class RecordView {
public:
    RecordView(const char* data, std::uint32_t size) : m_data(data), m_size(size) {}

    std::uint32_t type() const { return readU32(m_data); }
    std::uint32_t size() const { return m_size; }
    bool holds(std::uint64_t bytes) const { return bytes <= m_size; }
    std::uint32_t u32(std::uint32_t offset) const { return readU32(m_data + offset); }
    std::int32_t i32(std::uint32_t offset) const { return readI32(m_data + offset); }
    std::int16_t i16(std::uint32_t offset) const {
        return static_cast<std::int16_t>(readU16(m_data + offset));
    }
    std::uint8_t u8(std::uint32_t offset) const {
        return static_cast<std::uint8_t>(m_data[offset]);
    }
    std::uint16_t u16(std::uint32_t offset) const { return readU16(m_data + offset); }

private:
    const char* m_data;
    std::uint32_t m_size;
};

struct PenObject {
    QPen pen;
};
struct BrushObject {
    QBrush brush;
};
struct FontObject {
    QFont font;
    QRawFont raw;
};
using Object = std::variant<std::monostate, PenObject, BrushObject, FontObject>;

struct DeviceState {
    QPen pen{Qt::black, 1};
    QBrush brush{Qt::white};
    FontObject font;
    QColor textColor{Qt::black};
    std::uint32_t textAlign = TA_TOP;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position;
};

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

FontObject FontFrom(const RecordView& record, std::uint32_t at) {
    QString family;
    for (std::uint32_t i = 0; i < kFaceNameChars; ++i) {
        const std::uint16_t unit = record.u16(at + 28 + 2 * i);
        if (unit == 0) {
            break;
        }
        family.append(QChar(unit));
    }
    QFont font(family.isEmpty() ? QStringLiteral("Arial") : family);
    const std::int32_t height = record.i32(at);
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
    const std::int32_t weight = record.i32(at + 16);
    font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? 400 : std::min(weight, 1000)));
    font.setItalic(record.u8(at + 20) != 0);
    font.setUnderline(record.u8(at + 21) != 0);
    font.setStrikeOut(record.u8(at + 22) != 0);
    return {font, QRawFont::fromFont(font)};
}

class Player {
public:
    Player(QPainter& painter, std::uint16_t handles) : m_painter(painter), m_objects(handles) {
        m_state.font = {QFont(QStringLiteral("Arial")), QRawFont()};
        m_state.font.font.setPixelSize(12);
    }

    void play(const RecordView& record) {
        switch (record.type()) {
            case EMR_CREATEPEN:
                if (record.holds(28)) {
                    store(record.u32(8),
                          PenObject{PenFrom(record.u32(12), record.i32(16), record.u32(24))});
                }
                break;
            case EMR_EXTCREATEPEN:
                if (record.holds(52)) {
                    store(record.u32(8),
                          PenObject{PenFrom(record.u32(28), record.i32(32), record.u32(40))});
                }
                break;
            case EMR_CREATEBRUSHINDIRECT:
                if (record.holds(24)) {
                    store(record.u32(8), BrushObject{record.u32(12) == BS_NULL
                                                         ? QBrush(Qt::NoBrush)
                                                         : QBrush(FromColorRef(record.u32(16)))});
                }
                break;
            case EMR_EXTCREATEFONTINDIRECTW:
                if (record.holds(12 + kLogFontSize)) {
                    store(record.u32(8), FontFrom(record, 12));
                }
                break;
            case EMR_SELECTOBJECT:
                if (record.holds(12)) {
                    select(record.u32(8));
                }
                break;
            case EMR_DELETEOBJECT:
                if (record.holds(12) && record.u32(8) < m_objects.size()) {
                    m_objects[record.u32(8)] = std::monostate{};
                }
                break;
            case EMR_SETTEXTCOLOR:
                if (record.holds(12)) {
                    m_state.textColor = FromColorRef(record.u32(8));
                }
                break;
            case EMR_SETTEXTALIGN:
                if (record.holds(12)) {
                    m_state.textAlign = record.u32(8);
                }
                break;
            case EMR_SETPOLYFILLMODE:
                if (record.holds(12)) {
                    m_state.fillRule = record.u32(8) == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
                }
                break;
            case EMR_SAVEDC:
                if (m_saved.size() < kMaxSavedStates) {
                    m_saved.push_back(m_state);
                }
                break;
            case EMR_RESTOREDC:
                if (record.holds(12)) {
                    restore(record.i32(8));
                }
                break;
            case EMR_MOVETOEX:
                if (record.holds(16)) {
                    m_state.position = QPointF(record.i32(8), record.i32(12));
                }
                break;
            case EMR_LINETO:
                if (record.holds(16)) {
                    const QPointF to(record.i32(8), record.i32(12));
                    usePenAndBrush();
                    m_painter.drawLine(m_state.position, to);
                    m_state.position = to;
                }
                break;
            case EMR_RECTANGLE:
            case EMR_ELLIPSE:
                if (record.holds(24)) {
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
                text(record);
                break;
            default:
                break;  // not drawn: header, end, states this player does not follow
        }
    }

private:
    void store(std::uint32_t index, Object object) {
        // Index 0 stands for the metafile itself.
        if (index == 0 || index >= m_objects.size()) {
            return;
        }
        m_objects[index] = std::move(object);
    }

    void select(std::uint32_t index) {
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

    void restore(std::int32_t which) {
        // Negative: that many states back; positive: the state saved at
        // that depth, counted from 1.
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

    void usePenAndBrush() {
        m_painter.setPen(m_state.pen);
        m_painter.setBrush(m_state.brush);
    }

    void box(const RecordView& record) {
        const QPointF topLeft(record.i32(8), record.i32(12));
        const QPointF bottomRight(record.i32(16), record.i32(20));
        // The right and bottom edges are outside the box.
        const QRectF rect = QRectF(topLeft, bottomRight - QPointF(1, 1)).normalized();
        usePenAndBrush();
        if (record.type() == EMR_ELLIPSE) {
            m_painter.drawEllipse(rect);
        } else {
            m_painter.drawRect(rect);
        }
    }

    // Reads `count` points from `at`, 32-bit or 16-bit coordinates; nothing
    // when the record does not hold them.
    static std::optional<QPolygonF> points(const RecordView& record, std::uint32_t at,
                                           std::uint64_t count, bool small) {
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
                polygon.append(QPointF(record.i32(offset), record.i32(offset + 4)));
            }
        }
        return polygon;
    }

    void poly(const RecordView& record) {
        if (!record.holds(28)) {
            return;
        }
        const bool small = record.type() == EMR_POLYGON16 || record.type() == EMR_POLYLINE16;
        const auto polygon = points(record, 28, record.u32(24), small);
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

    void polyPoly(const RecordView& record) {
        if (!record.holds(32)) {
            return;
        }
        const std::uint64_t polygons = record.u32(24);
        const std::uint64_t total = record.u32(28);
        const std::uint64_t countsEnd = 32 + polygons * 4;
        if (!record.holds(countsEnd)) {
            return;
        }
        const auto all = points(record, static_cast<std::uint32_t>(countsEnd), total, false);
        if (!all) {
            return;
        }
        usePenAndBrush();
        QPainterPath path;
        path.setFillRule(m_state.fillRule);
        std::uint64_t next = 0;
        for (std::uint64_t i = 0; i < polygons; ++i) {
            const std::uint64_t count = record.u32(32 + static_cast<std::uint32_t>(i * 4));
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

    void text(const RecordView& record) {
        if (!record.holds(kExtTextOutFixedSize)) {
            return;
        }
        const QPointF reference(record.i32(36), record.i32(40));
        const std::uint64_t count = record.u32(44);
        const std::uint64_t offString = record.u32(48);
        const std::uint32_t options = record.u32(52);
        const std::uint64_t offDx = record.u32(72);
        if (count == 0 || !record.holds(offString + count * 2)) {
            return;
        }
        QString string;
        string.reserve(static_cast<qsizetype>(count));
        for (std::uint64_t i = 0; i < count; ++i) {
            string.append(QChar(record.u16(static_cast<std::uint32_t>(offString + i * 2))));
        }
        // ETO_PDY: a vertical advance follows each horizontal one.
        const std::uint64_t dxStep = (options & 0x2000) ? 8 : 4;
        std::vector<qreal> advances;
        if (offDx != 0 && record.holds(offDx + count * dxStep)) {
            advances.reserve(count);
            for (std::uint64_t i = 0; i < count; ++i) {
                advances.push_back(record.i32(static_cast<std::uint32_t>(offDx + i * dxStep)));
            }
        }

        const QFont& font = m_state.font.font;
        // A glyph larger than any page picture, or squashed flat, comes only
        // from a damaged file, and Qt's glyph cache crashes on such shapes:
        // not drawn.
        // Both axes count: a damaged header can stretch one of them alone.
        const QTransform& transform = m_painter.worldTransform();
        const qreal scaleX = std::hypot(transform.m11(), transform.m12());
        const qreal scaleY = std::hypot(transform.m21(), transform.m22());
        const qreal largest = font.pixelSize() * std::max(scaleX, scaleY);
        const qreal smallest = font.pixelSize() * std::min(scaleX, scaleY);
        if (!(smallest > 0) || !(largest <= kLargestGlyphPixels) ||
            largest > kLargestGlyphStretch * smallest) {
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
        if ((m_state.textAlign & TA_BASELINE) == TA_BASELINE) {
            // the reference point is on the baseline
        } else if (m_state.textAlign & TA_BOTTOM) {
            origin.ry() -= metrics.descent();
        } else {
            origin.ry() += metrics.ascent();
        }
        if ((m_state.textAlign & TA_CENTER) == TA_CENTER) {
            origin.rx() -= width / 2;
        } else if (m_state.textAlign & TA_RIGHT) {
            origin.rx() -= width;
        }

        m_painter.setPen(m_state.textColor);
        m_painter.setFont(font);
        if (advances.empty()) {
            // Qt draws the font's underline and strike-out itself.
            m_painter.drawText(origin, string);
            return;
        }
        // The characters go exactly where the advances put them: as one run
        // of glyphs when the font has a glyph for each, one by one otherwise.
        const QRawFont& raw = m_state.font.raw;
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
            m_painter.drawGlyphRun(origin, run);
        } else {
            for (qsizetype i = 0; i < string.size(); ++i) {
                m_painter.drawText(origin + positions.at(i), QString(string.at(i)));
            }
        }
        // Drawn here across the advances: glyph runs place their own
        // underline from the run's start, not where the text is.
        const qreal thickness = std::max<qreal>(1, metrics.lineWidth());
        if (font.underline()) {
            m_painter.fillRect(
                QRectF(origin.x(), origin.y() + metrics.underlinePos(), width, thickness),
                m_state.textColor);
        }
        if (font.strikeOut()) {
            m_painter.fillRect(
                QRectF(origin.x(), origin.y() - metrics.strikeOutPos(), width, thickness),
                m_state.textColor);
        }
    }

    QPainter& m_painter;
    std::vector<Object> m_objects;
    DeviceState m_state;
    std::vector<DeviceState> m_saved;
};

std::optional<EmfHeader> ReadHeader(const QByteArray& data) {
    if (data.size() < static_cast<qsizetype>(kMinimumHeaderSize)) {
        return std::nullopt;
    }
    const RecordView record(data.constData(), static_cast<std::uint32_t>(kMinimumHeaderSize));
    const std::uint32_t size = record.u32(4);
    if (record.type() != EMR_HEADER || size < kMinimumHeaderSize || size % 4 != 0 ||
        size > static_cast<std::uint64_t>(data.size()) || record.u32(40) != kSignature) {
        return std::nullopt;
    }
    EmfHeader header;
    header.bounds =
        QRect(QPoint(record.i32(8), record.i32(12)), QPoint(record.i32(16), record.i32(20)));
    header.frame =
        QRect(QPoint(record.i32(24), record.i32(28)), QPoint(record.i32(32), record.i32(36)));
    header.bytes = record.u32(48);
    header.records = record.u32(52);
    header.handles = record.u16(56);
    header.devicePixels = QSize(record.i32(72), record.i32(76));
    header.deviceMillimetres = QSize(record.i32(80), record.i32(84));
    if (header.bytes < size || header.bytes > static_cast<std::uint64_t>(data.size()) ||
        header.devicePixels.width() <= 0 || header.devicePixels.height() <= 0 ||
        header.deviceMillimetres.width() <= 0 || header.deviceMillimetres.height() <= 0 ||
        header.frame.left() >= header.frame.right() ||
        header.frame.top() >= header.frame.bottom()) {
        return std::nullopt;
    }
    return header;
}

// Whether the records after the header form a chain that stays inside the
// picture's bytes and ends with EMR_EOF.
bool RecordsAreWhole(const QByteArray& data, const EmfHeader& header) {
    std::uint64_t offset = readU32(data.constData() + 4);
    while (offset + 8 <= header.bytes) {
        const std::uint32_t type = readU32(data.constData() + offset);
        const std::uint32_t size = readU32(data.constData() + offset + 4);
        if (size < 8 || size % 4 != 0 || size > header.bytes - offset) {
            return false;
        }
        if (type == EMR_EOF) {
            return true;
        }
        offset += size;
    }
    return false;
}

}  // namespace

EmfPicture::EmfPicture(QByteArray data, const EmfHeader& header)
    : m_data(std::move(data)), m_header(header) {}

std::optional<EmfPicture> EmfPicture::fromData(const QByteArray& data) {
    const std::optional<EmfHeader> header = ReadHeader(data);
    if (!header || !RecordsAreWhole(data, *header)) {
        return std::nullopt;
    }
    return EmfPicture(data, *header);
}

std::optional<EmfPicture> EmfPicture::load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    return fromData(file.readAll());
}

void EmfPicture::play(QPainter& painter, const QRectF& target) const {
    // Device pixels -> hundredths of a millimetre -> the frame stretched
    // over the target.
    const QRect& frame = m_header.frame;
    // In floating point: the corners of a damaged frame can be far enough
    // apart to overflow an int.
    const qreal frameWidth = qreal(frame.right()) - qreal(frame.left());
    const qreal frameHeight = qreal(frame.bottom()) - qreal(frame.top());
    QTransform mapping;
    mapping.translate(target.left(), target.top());
    mapping.scale(target.width() / frameWidth, target.height() / frameHeight);
    mapping.translate(-qreal(frame.left()), -qreal(frame.top()));
    mapping.scale(100.0 * m_header.deviceMillimetres.width() / m_header.devicePixels.width(),
                  100.0 * m_header.deviceMillimetres.height() / m_header.devicePixels.height());

    painter.save();
    painter.setTransform(mapping, true);
    Player player(painter, m_header.handles);
    std::uint64_t offset = readU32(m_data.constData() + 4);
    while (offset + 8 <= m_header.bytes) {
        const std::uint32_t size = readU32(m_data.constData() + offset + 4);
        const RecordView record(m_data.constData() + offset, size);
        if (record.type() == EMR_EOF) {
            break;
        }
        player.play(record);
        offset += size;
    }
    painter.restore();
}

QImage EmfPicture::toImage(const QSize& size) const {
    if (size.isEmpty()) {
        return QImage();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage renderEmfFile(const QString& fileName, const QSize& size) {
    const std::optional<EmfPicture> picture = EmfPicture::load(fileName);
    return picture ? picture->toImage(size) : QImage();
}

}  // namespace platform
