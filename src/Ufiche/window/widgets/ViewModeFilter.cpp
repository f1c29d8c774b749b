#include "Ufiche/window/widgets/ViewModeFilter.h"

#include <QMouseEvent>
#include <QTextEdit>

#include <algorithm>

namespace Ufiche {

ViewModeFilter::ViewModeFilter(QTextEdit& pane, const QWidget& titleSource,
                               std::function<bool()> editMode)
    : QObject(&pane),
      m_pane(pane),
      m_viewport(pane.viewport()),
      m_titleSource(titleSource),
      m_editMode(std::move(editMode)) {
    m_viewport->installEventFilter(this);
}

void ViewModeFilter::SetMouseMoveHandler(std::function<void()> handler) {
    m_mouseMoveHandler = std::move(handler);
}

void ViewModeFilter::CollapseSelection() {
    QTextCursor cursor = m_pane.textCursor();
    if (!cursor.hasSelection()) {
        return;
    }
    const int end = m_pane.document()->characterCount() - 1;
    cursor.setPosition(std::min(static_cast<int>(m_titleSource.windowTitle().size()), end));
    m_pane.setTextCursor(cursor);
}

void ViewModeFilter::CollapseSelectionLater() {
    if (!m_editMode()) {
        QMetaObject::invokeMethod(
            this, [this] { CollapseSelection(); }, Qt::QueuedConnection);
    }
}

void ViewModeFilter::RefuseDrop(QEvent* event) {
    if (!m_editMode()) {
        event->ignore();
        CollapseSelection();
    }
}

bool ViewModeFilter::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the viewport kept at the start: the pane, being destroyed,
    // may no longer answer.
    if (watched != m_viewport) {
        return false;
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::DragLeave:
            CollapseSelectionLater();
            break;
        case QEvent::MouseMove:
            if (m_mouseMoveHandler) {
                m_mouseMoveHandler();
            }
            if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
                CollapseSelectionLater();
            }
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (!m_editMode()) {
                RefuseDrop(event);
                return true;  // the pane never sees a drag it may not take
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace Ufiche
