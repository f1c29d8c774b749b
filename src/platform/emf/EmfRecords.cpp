#include "platform/emf/EmfRecords.h"

#include "platform/emf/EmfFormat.h"

#include <QtEndian>

#include <cstring>

namespace platform::emf {

RecordBuilder::RecordBuilder(std::uint32_t type, std::uint32_t fixedSize) {
    u32(type);
    u32(0);  // size, set by finish()
    if (fixedSize > 8) {
        m_data.append(static_cast<qsizetype>(fixedSize - 8), '\0');
    }
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

RecordBuilder& RecordBuilder::setU8(std::uint32_t offset, std::uint8_t value) {
    Q_ASSERT(offset < static_cast<std::uint32_t>(m_data.size()));
    m_data[offset] = static_cast<char>(value);
    return *this;
}

RecordBuilder& RecordBuilder::setU16(std::uint32_t offset, std::uint16_t value) {
    Q_ASSERT(offset + 2 <= static_cast<std::uint32_t>(m_data.size()));
    qToLittleEndian(value, m_data.data() + offset);
    return *this;
}

RecordBuilder& RecordBuilder::setU32(std::uint32_t offset, std::uint32_t value) {
    Q_ASSERT(offset + 4 <= static_cast<std::uint32_t>(m_data.size()));
    qToLittleEndian(value, m_data.data() + offset);
    return *this;
}

RecordBuilder& RecordBuilder::setI32(std::uint32_t offset, std::int32_t value) {
    return setU32(offset, static_cast<std::uint32_t>(value));
}

RecordBuilder& RecordBuilder::setF32(std::uint32_t offset, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return setU32(offset, bits);
}

RecordBuilder& RecordBuilder::setPoint(std::uint32_t offset, const QPoint& point) {
    return setI32(offset, point.x()).setI32(offset + 4, point.y());
}

RecordBuilder& RecordBuilder::setRect(std::uint32_t offset, const QRect& rect) {
    return setI32(offset, rect.left())
        .setI32(offset + 4, rect.top())
        .setI32(offset + 8, rect.right())
        .setI32(offset + 12, rect.bottom());
}

RecordBuilder& RecordBuilder::setUtf16(std::uint32_t offset, const QString& text, int units) {
    for (int i = 0; i < units; ++i) {
        setU16(offset + 2 * static_cast<std::uint32_t>(i),
               i < text.size() ? text.at(i).unicode() : 0);
    }
    return *this;
}

QByteArray RecordBuilder::finish() {
    align();
    qToLittleEndian(static_cast<std::uint32_t>(m_data.size()), m_data.data() + emrRecord::kSize);
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
