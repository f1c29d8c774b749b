#include "platform/emf/EmfObjectTable.h"

#include "platform/emf/EmfFormat.h"
#include "platform/emf/EmfRecords.h"

#include <QtEndian>

#include <algorithm>
#include <utility>

namespace platform::emf {

namespace {

// Objects kept in the table before the unused ones are deleted; a page of
// text needs a handful.
constexpr qsizetype kMaxObjects = 64;

QByteArray ValueRecord(std::uint32_t type, std::uint32_t value) {
    return RecordBuilder(type, emrRecord::kValueSize).SetU32(emrRecord::kValue, value).Finish();
}

}  // namespace

ObjectTable::ObjectTable(Sink sink) : m_sink(std::move(sink)) {}

std::uint32_t& ObjectTable::Selected(Slot slot) {
    switch (slot) {
        case Slot::Pen:
            return m_penSelected;
        case Slot::Brush:
            return m_brushSelected;
        case Slot::Font:
            break;
    }
    return m_fontSelected;
}

void ObjectTable::Select(Slot slot, std::uint32_t index) {
    std::uint32_t& current = Selected(slot);
    if (index == current) {
        return;
    }
    m_sink(ValueRecord(EMR_SELECTOBJECT, index));
    current = index;
}

std::uint32_t ObjectTable::IndexFor(const QByteArray& creation) {
    // The record's type and what follows the index tell objects apart.
    const std::uint32_t type = ReadU32(creation.constData() + emrRecord::kType);
    QByteArray key = creation.mid(emrObject::kDescription);
    key.prepend(reinterpret_cast<const char*>(&type), sizeof type);
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
            m_sink(ValueRecord(EMR_DELETEOBJECT, index));
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
    QByteArray record = creation;
    qToLittleEndian(index, record.data() + emrObject::kIndex);
    m_sink(record);
    m_objects.insert(key, index);
    return index;
}

void ObjectTable::Use(Slot slot, const QByteArray& creation) {
    Select(slot, IndexFor(creation));
}

void ObjectTable::UseStock(Slot slot, std::uint32_t stockIndex) {
    Select(slot, stockIndex);
}

void ObjectTable::Clear() {
    if (m_objects.isEmpty()) {
        return;
    }
    Select(Slot::Pen, kStockObject | BLACK_PEN);
    Select(Slot::Brush, kStockObject | WHITE_BRUSH);
    Select(Slot::Font, kStockObject | SYSTEM_FONT);
    std::vector<std::uint32_t> indexes(m_objects.begin(), m_objects.end());
    std::sort(indexes.begin(), indexes.end());
    for (const std::uint32_t index : indexes) {
        m_sink(ValueRecord(EMR_DELETEOBJECT, index));
    }
}

std::uint16_t ObjectTable::HandleCount() const {
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(m_nextIndex, 0xFFFF));
}

}  // namespace platform::emf
