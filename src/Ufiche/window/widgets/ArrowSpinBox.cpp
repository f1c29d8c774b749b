#include "Ufiche/window/widgets/ArrowSpinBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

namespace Ufiche {

namespace {

// Keys that move the caret or the focus without touching the text.
bool IsNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
            return true;
        default:
            return false;
    }
}

}  // namespace

ArrowSpinBox::ArrowSpinBox(QWidget* parent) : QSpinBox(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setKeyboardTracking(true);
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    lineEdit()->setAcceptDrops(false);
    lineEdit()->installEventFilter(this);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(240, 255, 255));
    setPalette(colours);
}

bool ArrowSpinBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
            case QEvent::InputMethod:
            case QEvent::Drop:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::ContextMenu:
                return true;
            default:
                break;
        }
    }
    return QSpinBox::eventFilter(watched, event);
}

void ArrowSpinBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    if (IsNavigationKey(key) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::SelectAll)) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    // Characters, paste, cut, deletion, Page Up and Page Down: refused.
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        QApplication::beep();
    }
    event->accept();
}

void ArrowSpinBox::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

void ArrowSpinBox::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace Ufiche
