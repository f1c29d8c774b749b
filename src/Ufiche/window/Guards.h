#pragma once

#include <QApplication>
#include <QWidget>

namespace Ufiche {

// The window's operations that process pending events part-way (printing a
// set of different sheets does, at each sheet's load).
enum class LongOperation { None, Generation, Preview, Printing };

// A long operation under way: `current` holds it for the length of the scope,
// whatever happens in it. The window's commands look at it and drop what
// arrives from the events it processes, so that nothing starts from a
// half-made worksheet or preview. A close of the window that was put off
// meanwhile (`closeRequested`) is asked for again at its end, once the events
// under way are done.
class LongOperationScope {
public:
    LongOperationScope(LongOperation& current, LongOperation operation, bool& closeRequested,
                       QWidget& window)
        : m_current(current), m_closeRequested(closeRequested), m_window(window) {
        m_current = operation;
    }
    ~LongOperationScope() {
        m_current = LongOperation::None;
        if (m_closeRequested) {
            m_closeRequested = false;
            QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
        }
    }
    LongOperationScope(const LongOperationScope&) = delete;
    LongOperationScope& operator=(const LongOperationScope&) = delete;

private:
    LongOperation& m_current;
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
