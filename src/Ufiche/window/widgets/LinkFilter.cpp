#include "Ufiche/window/widgets/LinkFilter.h"

#include <QLabel>
#include <QMouseEvent>

namespace Ufiche {

LinkFilter::LinkFilter(QLabel& label, std::function<void()> onHover, std::function<void()> onClick)
    : QObject(&label),
      m_label(label),
      m_onHover(std::move(onHover)),
      m_onClick(std::move(onClick)) {
    label.setCursor(Qt::PointingHandCursor);
    label.setMouseTracking(true);
    // A label takes no mouse event of its own: without this, a move over the
    // link also reaches the widget below it, whose own reaction to a move may
    // undo the hover at once.
    label.setAttribute(Qt::WA_NoMousePropagation);
    label.installEventFilter(this);
}

bool LinkFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_label) {
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        m_onHover();
    } else if (event->type() == QEvent::MouseButtonRelease &&
               m_label.rect().contains(static_cast<QMouseEvent*>(event)->pos())) {
        m_onClick();
    }
    return false;
}

}  // namespace Ufiche
