#pragma once

#include <QByteArray>
#include <QHash>

#include <cstdint>
#include <functional>
#include <vector>

namespace platform::emf {

// The metafile's object table as the writer fills it: pens, brushes and
// fonts are created when a drawing first needs them and shared by every later
// drawing that uses the same one. The table writes its records (creation,
// selection, deletion) through the sink it is given, in the order a player
// must meet them.
class ObjectTable {
public:
    enum class Slot { Pen, Brush, Font };
    using Sink = std::function<void(const QByteArray&)>;

    explicit ObjectTable(Sink sink);

    // Selects into `slot` the object that `creation` describes: a creation
    // record whose index field is left at 0. The object is created first when
    // the table does not hold it yet.
    void Use(Slot slot, const QByteArray& creation);
    // Selects the stock object `stockIndex` (kStockObject set) into `slot`.
    void UseStock(Slot slot, std::uint32_t stockIndex);
    // Selects stock objects into every slot and deletes every object, lowest
    // index first, as a tidy metafile ends.
    void Clear();

    // The header's handle count: the highest index used plus one (index 0
    // stands for the metafile itself).
    std::uint16_t HandleCount() const;

private:
    std::uint32_t IndexFor(const QByteArray& creation);
    void Select(Slot slot, std::uint32_t index);
    std::uint32_t& Selected(Slot slot);

    Sink m_sink;
    QHash<QByteArray, std::uint32_t> m_objects;  // type and description -> index
    std::vector<std::uint32_t> m_freeIndexes;
    std::uint32_t m_nextIndex = 1;
    std::uint32_t m_penSelected = 0;
    std::uint32_t m_brushSelected = 0;
    std::uint32_t m_fontSelected = 0;
};

}  // namespace platform::emf
