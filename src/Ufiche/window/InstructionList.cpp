#include "Ufiche/window/InstructionList.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace Ufiche {

int SelectedEntry(const QComboBox& list) {
    const int index = list.currentIndex();
    if (index < 0 || list.itemText(index) != list.currentText()) {
        return -1;
    }
    return index;
}

void AppendEntry(QComboBox& list, const QString& text) {
    QSignalBlocker noChangeEvent(list);
    list.addItem(text);
    list.setCurrentIndex(list.count() - 1);
}

void RemoveSelectedEntry(QComboBox& list) {
    const int index = SelectedEntry(list);
    if (index < 0) {
        return;
    }
    QSignalBlocker noChangeEvent(list);
    const QString text = list.currentText();
    list.removeItem(index);
    list.setCurrentIndex(-1);
    list.setEditText(text);
}

}  // namespace Ufiche
