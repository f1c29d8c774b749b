#pragma once

#include <QSpinBox>

namespace Ufiche {

// A spin box whose value changes only through its arrow buttons and the Up
// and Down keys: typed characters are refused with a beep, paste, cut, drops
// and the wheel change nothing, and the context menu is empty.
class ArrowSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit ArrowSpinBox(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace Ufiche
