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
// them (Holds()).
class RecordView {
public:
    RecordView(const char* data, std::uint32_t size) : m_data(data), m_size(size) {}

    std::uint32_t Type() const { return ReadU32(m_data + emrRecord::kType); }
    std::uint32_t Size() const { return m_size; }
    bool Holds(std::uint64_t bytes) const { return bytes <= m_size; }
    std::uint32_t U32(std::uint32_t offset) const { return ReadU32(m_data + offset); }
    std::int32_t I32(std::uint32_t offset) const { return ReadI32(m_data + offset); }
    std::int16_t I16(std::uint32_t offset) const {
        return static_cast<std::int16_t>(ReadU16(m_data + offset));
    }
    std::uint8_t U8(std::uint32_t offset) const {
        return static_cast<std::uint8_t>(m_data[offset]);
    }
    std::uint16_t U16(std::uint32_t offset) const { return ReadU16(m_data + offset); }
    QPointF Point(std::uint32_t offset) const { return QPointF(I32(offset), I32(offset + 4)); }
    // Left, top, right, bottom, both corners inside.
    QRect Rect(std::uint32_t offset) const {
        return QRect(QPoint(I32(offset), I32(offset + 4)),
                     QPoint(I32(offset + 8), I32(offset + 12)));
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

    void Play(const RecordView& record);

private:
    void Store(std::uint32_t index, Object object);
    void Select(std::uint32_t index);
    void Restore(std::int32_t which);
    void UsePenAndBrush();
    void Box(const RecordView& record);
    void Poly(const RecordView& record);
    void PolyPoly(const RecordView& record);

    QPainter& m_painter;
    std::vector<Object> m_objects;
    DeviceState m_state;
    std::vector<DeviceState> m_saved;
};

}  // namespace platform::emf
