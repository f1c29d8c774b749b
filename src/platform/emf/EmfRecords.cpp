#include "platform/emf/EmfRecords.h"

#include "platform/emf/EmfFormat.h"

#include <QtEndian>

#include <cstring>

namespace platform::emf {

RecordBuilder::RecordBuilder(std::uint32_t type, std::uint32_t fixedSize) {
    U32(type);
    U32(0);  // size, set by Finish()
    if (fixedSize > 8) {
        m_data.append(static_cast<qsizetype>(fixedSize - 8), '\0');
    }
}

RecordBuilder& RecordBuilder::U8(std::uint8_t value) {
    m_data.append(static_cast<char>(value));
    return *this;
}

RecordBuilder& RecordBuilder::U16(std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    m_data.append(bytes, 2);
    return *this;
}

RecordBuilder& RecordBuilder::U32(std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_data.append(bytes, 4);
    return *this;
}

RecordBuilder& RecordBuilder::I32(std::int32_t value) {
    return U32(static_cast<std::uint32_t>(value));
}

RecordBuilder& RecordBuilder::F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return U32(bits);
}

RecordBuilder& RecordBuilder::Point(const QPoint& point) {
    return I32(point.x()).I32(point.y());
}

RecordBuilder& RecordBuilder::Rect(const QRect& rect) {
    return I32(rect.left()).I32(rect.top()).I32(rect.right()).I32(rect.bottom());
}

RecordBuilder& RecordBuilder::Utf16(const QString& text, int units) {
    for (int i = 0; i < units; ++i) {
        U16(i < text.size() ? text.at(i).unicode() : 0);
    }
    return *this;
}

RecordBuilder& RecordBuilder::Align() {
    while (m_data.size() % 4 != 0) {
        m_data.append('\0');
    }
    return *this;
}

RecordBuilder& RecordBuilder::SetU8(std::uint32_t offset, std::uint8_t value) {
    Q_ASSERT(offset < static_cast<std::uint32_t>(m_data.size()));
    m_data[offset] = static_cast<char>(value);
    return *this;
}

RecordBuilder& RecordBuilder::SetU16(std::uint32_t offset, std::uint16_t value) {
    Q_ASSERT(offset + 2 <= static_cast<std::uint32_t>(m_data.size()));
    qToLittleEndian(value, m_data.data() + offset);
    return *this;
}

RecordBuilder& RecordBuilder::SetU32(std::uint32_t offset, std::uint32_t value) {
    Q_ASSERT(offset + 4 <= static_cast<std::uint32_t>(m_data.size()));
    qToLittleEndian(value, m_data.data() + offset);
    return *this;
}

RecordBuilder& RecordBuilder::SetI32(std::uint32_t offset, std::int32_t value) {
    return SetU32(offset, static_cast<std::uint32_t>(value));
}

RecordBuilder& RecordBuilder::SetF32(std::uint32_t offset, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return SetU32(offset, bits);
}

RecordBuilder& RecordBuilder::SetPoint(std::uint32_t offset, const QPoint& point) {
    return SetI32(offset, point.x()).SetI32(offset + 4, point.y());
}

RecordBuilder& RecordBuilder::SetRect(std::uint32_t offset, const QRect& rect) {
    return SetI32(offset, rect.left())
        .SetI32(offset + 4, rect.top())
        .SetI32(offset + 8, rect.right())
        .SetI32(offset + 12, rect.bottom());
}

RecordBuilder& RecordBuilder::SetUtf16(std::uint32_t offset, const QString& text, int units) {
    for (int i = 0; i < units; ++i) {
        SetU16(offset + 2 * static_cast<std::uint32_t>(i),
               i < text.size() ? text.at(i).unicode() : 0);
    }
    return *this;
}

QByteArray RecordBuilder::Finish() {
    Align();
    qToLittleEndian(static_cast<std::uint32_t>(m_data.size()), m_data.data() + emrRecord::kSize);
    return m_data;
}

std::uint32_t ReadU32(const char* data) {
    return qFromLittleEndian<std::uint32_t>(data);
}

std::int32_t ReadI32(const char* data) {
    return static_cast<std::int32_t>(ReadU32(data));
}

std::uint16_t ReadU16(const char* data) {
    return qFromLittleEndian<std::uint16_t>(data);
}

}  // namespace platform::emf
