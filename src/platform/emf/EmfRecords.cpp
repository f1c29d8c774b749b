#include "platform/emf/EmfRecords.h"

#include <QtEndian>

#include <cstring>

namespace platform::emf {

RecordBuilder::RecordBuilder(std::uint32_t type) {
    u32(type);
    u32(0);  // size, set by finish()
}

RecordBuilder& RecordBuilder::u8(std::uint8_t value) {
    m_data.append(static_cast<char>(value));
    return *this;
}

RecordBuilder& RecordBuilder::u16(std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    m_data.append(bytes, 2);
    return *this;
}

RecordBuilder& RecordBuilder::u32(std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_data.append(bytes, 4);
    return *this;
}

RecordBuilder& RecordBuilder::i32(std::int32_t value) {
    return u32(static_cast<std::uint32_t>(value));
}

RecordBuilder& RecordBuilder::f32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(bits);
}

RecordBuilder& RecordBuilder::point(const QPoint& point) {
    return i32(point.x()).i32(point.y());
}

RecordBuilder& RecordBuilder::rect(const QRect& rect) {
    return i32(rect.left()).i32(rect.top()).i32(rect.right()).i32(rect.bottom());
}

RecordBuilder& RecordBuilder::utf16(const QString& text, int units) {
    for (int i = 0; i < units; ++i) {
        u16(i < text.size() ? text.at(i).unicode() : 0);
    }
    return *this;
}

RecordBuilder& RecordBuilder::align() {
    while (m_data.size() % 4 != 0) {
        m_data.append('\0');
    }
    return *this;
}

QByteArray RecordBuilder::finish() {
    align();
    qToLittleEndian(static_cast<std::uint32_t>(m_data.size()), m_data.data() + 4);
    return m_data;
}

std::uint32_t readU32(const char* data) {
    return qFromLittleEndian<std::uint32_t>(data);
}

std::int32_t readI32(const char* data) {
    return static_cast<std::int32_t>(readU32(data));
}

std::uint16_t readU16(const char* data) {
    return qFromLittleEndian<std::uint16_t>(data);
}

}  // namespace platform::emf
