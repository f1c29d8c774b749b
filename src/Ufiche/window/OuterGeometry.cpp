#include "Ufiche/window/OuterGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace Ufiche {

namespace {

// A window manager that has not framed the window after this long never
// will (an X server without one): the restore then ends without the frame.
constexpr int kFrameWaitMilliseconds = 5000;

// How long a normal rectangle must stand still to count as the teacher's.
constexpr int kSettleMilliseconds = 300;

// How often the frame is looked for while it is not known.
constexpr int kWatchMilliseconds = 25;

// No window manager draws a border or a title bar thicker than this.
constexpr int kMaximumFrameSide = 200;

bool NotNormal(const QWidget& window) {
    return (window.windowState() &
            (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

}  // namespace

OuterGeometry::OuterGeometry(QWidget& window) : QObject(&window), m_window(window) {
    m_window.installEventFilter(this);
    m_watch.setInterval(kWatchMilliseconds);
    connect(&m_watch, &QTimer::timeout, this, [this] {
        if (m_pending && m_watchStart.hasExpired(kFrameWaitMilliseconds)) {
            FinishRestore();
        }
        Follow();
        if (!m_pending) {
            m_watch.stop();
        }
    });
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (!NotNormal(m_window) && !m_pending) {
            m_lastNormal = m_candidate;
        }
    });
}

// What the frame adds to the client size, as the window system last told it
// (none before the window is framed).
QSize OuterGeometry::FrameMargins() const {
    const QWindow* handle = m_window.windowHandle();
    if (handle == nullptr) {
        return {0, 0};
    }
    const QMargins margins = handle->frameMargins();
    // While the window manager is still building the frame, Qt may compute
    // it from a half-made window tree: such values are no frame yet.
    const auto plausible = [](int side) { return side >= 0 && side <= kMaximumFrameSide; };
    // It may also report the whole frame on the right and bottom sides
    // for a moment, as if the client area stood at the frame's corner.
    const bool cornerOnly = margins.left() == 0 && margins.top() == 0;
    if (cornerOnly || !plausible(margins.left()) || !plausible(margins.top()) ||
        !plausible(margins.right()) || !plausible(margins.bottom())) {
        return {0, 0};
    }
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

void OuterGeometry::SetMinimumOuterSize(const QSize& size) {
    m_minimumOuterSize = size;
    m_window.setMinimumSize((m_minimumOuterSize - FrameMargins()).expandedTo(QSize(0, 0)));
}

void OuterGeometry::Restore(const std::optional<QRect>& outer, StoredShowState state) {
    if (!outer) {
        ApplyState(state);
        return;
    }
    const QSize margins = FrameMargins();
    m_lastNormal = *outer;
    // Only X11 frames a window after it is mapped; elsewhere the frame is
    // known (or the window system places windows itself).
    const bool frameComesLater = margins.isNull() && QGuiApplication::platformName() == "xcb";
    if (frameComesLater) {
        m_pending = *outer;
        m_pendingState = state;
    }
    m_window.setWindowState(Qt::WindowNoState);
    if (!frameComesLater) {
        m_window.resize((outer->size() - margins).expandedTo(QSize(0, 0)));
        m_window.move(outer->topLeft());  // a window's position is its frame's
        ApplyState(state);
        return;
    }
    // Placed by the client area's corner, the only placement that Qt and the
    // window manager agree on before the frame exists; the fit then moves
    // the client area inside the frame.
    m_window.setGeometry(QRect(outer->topLeft(), outer->size()));
    if (QWindow* handle = m_window.windowHandle()) {
        handle->installEventFilter(this);
    }
    // Qt tells no event when the frame becomes known: look until it is.
    m_watchStart.start();
    m_watch.start();
}

void OuterGeometry::ApplyState(StoredShowState state) {
    switch (state) {
        case StoredShowState::Minimized: {
            // The window itself is normal; the application minimizes once
            // the window is up.
            m_window.setWindowState(Qt::WindowNoState);
            QPointer<QWidget> window(&m_window);
            QTimer::singleShot(0, [window] {
                if (window) {
                    window->showMinimized();
                }
            });
            break;
        }
        case StoredShowState::Maximized:
            m_window.setWindowState(Qt::WindowMaximized);
            break;
        case StoredShowState::Normal:
            m_window.setWindowState(Qt::WindowNoState);
            break;
    }
}

// The client rectangle inside the frame, placed by the client area's own
// corner, computed from the margins the window manager reported: Qt's idea
// of the window's current place may still be the one it asked for.
void OuterGeometry::Fit(const QRect& outer) {
    const QMargins margins = m_window.windowHandle()->frameMargins();
    m_normalFrame = margins;
    m_window.setGeometry(outer.marginsRemoved(margins));
}

void OuterGeometry::FinishRestore() {
    m_pending.reset();
    ApplyState(m_pendingState);
}

QRect OuterGeometry::NormalOuterRect() const {
    if (!NotNormal(m_window) && !m_pending) {
        return m_window.frameGeometry();
    }
    if (m_lastNormal) {
        return *m_lastNormal;
    }
    // Never seen in its normal state: the normal client rectangle in the
    // frame it has now.
    const QRect frame = m_window.frameGeometry();
    const QRect client = m_window.geometry();
    return m_window.normalGeometry().adjusted(
        frame.left() - client.left(), frame.top() - client.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom());
}

bool OuterGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window || watched == m_window.windowHandle()) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
            case QEvent::Expose:
            case QEvent::Show:
                Follow();
                break;
            default:
                break;
        }
    }
    return false;
}

void OuterGeometry::Follow() {
    if (NotNormal(m_window)) {
        m_settle.stop();
        return;
    }
    const QSize margins = FrameMargins();
    if (!m_minimumOuterSize.isEmpty()) {
        const QSize minimum = (m_minimumOuterSize - margins).expandedTo(QSize(0, 0));
        if (m_window.minimumSize() != minimum) {
            m_window.setMinimumSize(minimum);
        }
    }
    if (m_pending) {
        if (margins.isNull()) {
            return;  // not framed yet
        }
        const QRect outer = *m_pending;
        m_pending.reset();
        Fit(outer);
        ApplyState(m_pendingState);
        m_lastNormal = outer;
        return;
    }
    // A rectangle counts once it has stood still a moment: while the window
    // manager maximizes, minimizes or re-frames a window, Qt reports passing
    // places and sizes before it reports the new state.
    // Nor does a frame other than the one the window manager gave the
    // normal window, which Qt may report for a moment meanwhile.
    if (m_normalFrame && m_window.windowHandle()->frameMargins() != *m_normalFrame) {
        return;
    }
    m_candidate = m_window.frameGeometry();
    m_settle.start();
}

}  // namespace Ufiche
