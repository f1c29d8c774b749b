#include "Ufiche/window/StartupProbe.h"

#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace Ufiche {

namespace {

class FirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so that it runs once this paint has been flushed to the
            // screen with the rest of the window.
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::fputs("first paint\n", stdout);
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

}  // namespace

void WatchFirstPaint(QWidget& window) {
    if (qEnvironmentVariableIsSet("FICHE_STARTUP_PROBE")) {
        window.installEventFilter(new FirstPaintWatcher(&window));
    }
}

}  // namespace Ufiche
