#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRawFont>
#include <QRect>

#include <cstdint>
#include <variant>
#include <vector>

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"

// What plays the records of a checked picture on a painter; EmfPicture reads
// and checks the file and hands each record to a Player.
namespace platform::emf {

// One record, whose fields are read only once the record is known to hold
// them (holds()).
class RecordView {
public:
    RecordView(const char* data, std::uint32_t size) : m_data(data), m_size(size) {}

    std::uint32_t type() const { return readU32(m_data + emrRecord::kType); }
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
    QPointF point(std::uint32_t offset) const { return QPointF(i32(offset), i32(offset + 4)); }
    // Left, top, right, bottom, both corners inside.
    QRect rect(std::uint32_t offset) const {
        return QRect(QPoint(i32(offset), i32(offset + 4)),
                     QPoint(i32(offset + 8), i32(offset + 12)));
    }

private:
    const char* m_data;
    std::uint32_t m_size;
};

QColor FromColorRef(std::uint32_t value);

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

// The drawing state that EMR_SAVEDC keeps and EMR_RESTOREDC brings back.
struct DeviceState {
    QPen pen{Qt::black, 1};
    QBrush brush{Qt::white};
    FontObject font;
    QColor textColor{Qt::black};
    std::uint32_t textAlign = TA_TOP;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position;
};

// Draws an EMR_EXTTEXTOUTW with the state's font, colour and alignment.
void PlayText(QPainter& painter, const DeviceState& state, const RecordView& record);

// Follows the object table and the drawing state and draws the shapes.
class Player {
public:
    Player(QPainter& painter, std::uint16_t handles);

    void play(const RecordView& record);

private:
    void store(std::uint32_t index, Object object);
    void select(std::uint32_t index);
    void restore(std::int32_t which);
    void usePenAndBrush();
    void box(const RecordView& record);
    void poly(const RecordView& record);
    void polyPoly(const RecordView& record);

    QPainter& m_painter;
    std::vector<Object> m_objects;
    DeviceState m_state;
    std::vector<DeviceState> m_saved;
};

}  // namespace platform::emf
