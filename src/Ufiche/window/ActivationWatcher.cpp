#include "Ufiche/window/ActivationWatcher.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace Ufiche {

ActivationWatcher::ActivationWatcher(QWidget& window, std::function<void()> onActivation)
    : QObject(&window), m_window(window), m_onActivation(std::move(onActivation)) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &ActivationWatcher::FocusWindowChanged);
}

void ActivationWatcher::FocusWindowChanged(QWindow* window) {
    QWindow* previous = m_lastFocusWindow;
    if (window != nullptr) {
        m_lastFocusWindow = window;
    }
    if (window != nullptr && window == m_window.windowHandle() && previous != nullptr &&
        previous != window) {
        m_onActivation();
    }
}

}  // namespace Ufiche
