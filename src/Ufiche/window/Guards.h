#pragma once

#include <QApplication>
#include <QWidget>

namespace Ufiche {

// A generation under way: `running` is set for the length of the scope,
// whatever happens in it. A close of the window that was put off while it ran
// (`closeRequested`) is asked for again at its end, once the events under way
// are done.
class GenerationScope {
public:
    GenerationScope(bool& running, bool& closeRequested, QWidget& window)
        : m_running(running), m_closeRequested(closeRequested), m_window(window) {
        m_running = true;
    }
    ~GenerationScope() {
        m_running = false;
        if (m_closeRequested) {
            m_closeRequested = false;
            QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
        }
    }
    GenerationScope(const GenerationScope&) = delete;
    GenerationScope& operator=(const GenerationScope&) = delete;

private:
    bool& m_running;
    bool& m_closeRequested;
    QWidget& m_window;
};

// The busy cursor over the whole application, restored whatever happens.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace Ufiche
