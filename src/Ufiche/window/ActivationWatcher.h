#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;
class QWindow;

namespace Ufiche {

// Tells when a window becomes active again after another window of the
// program (an input box, the preview) had the focus. A return from another
// application is no activation: Qt reports it in the same way, so the window
// that had the focus before decides.
class ActivationWatcher : public QObject {
    Q_OBJECT

public:
    ActivationWatcher(QWidget& window, std::function<void()> onActivation);

private:
    void FocusWindowChanged(QWindow* window);

    QWidget& m_window;
    std::function<void()> m_onActivation;
    QPointer<QWindow> m_lastFocusWindow;
};

}  // namespace Ufiche
