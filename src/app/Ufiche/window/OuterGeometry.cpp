#include "Ufiche/window/OuterGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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

OuterGeometry::OuterGeometry(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
    watch_.setInterval(kWatchMilliseconds);
    connect(&watch_, &QTimer::timeout, this, [this] {
        if (pending_ && watchStart_.hasExpired(kFrameWaitMilliseconds)) {
            FinishRestore();
        }
        Follow();
        if (!pending_) {
            watch_.stop();
        }
    });
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (!NotNormal(window_) && !pending_) {
            lastNormal_ = candidate_;
        }
    });
}

// What the frame adds to the client size, as the window system last told it
// (none before the window is framed).
QSize OuterGeometry::FrameMargins() const {
    const QWindow* handle = window_.windowHandle();
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

void OuterGeometry::setMinimumOuterSize(const QSize& size) {
    minimumOuterSize_ = size;
    window_.setMinimumSize((minimumOuterSize_ - FrameMargins()).expandedTo(QSize(0, 0)));
}

void OuterGeometry::Restore(const std::optional<QRect>& outer, Ufiche::StoredShowState state) {
    if (!outer) {
        ApplyState(state);
        return;
    }
    const QSize margins = FrameMargins();
    lastNormal_ = *outer;
    // Only X11 frames a window after it is mapped; elsewhere the frame is
    // known (or the window system places windows itself).
    const bool frameComesLater = margins.isNull() && QGuiApplication::platformName() == "xcb";
    if (frameComesLater) {
        pending_ = *outer;
        pendingState_ = state;
    }
    window_.setWindowState(Qt::WindowNoState);
    if (!frameComesLater) {
        window_.resize((outer->size() - margins).expandedTo(QSize(0, 0)));
        window_.move(outer->topLeft());  // a window's position is its frame's
        ApplyState(state);
        return;
    }
    // Placed by the client area's corner, the only placement that Qt and the
    // window manager agree on before the frame exists; the fit then moves
    // the client area inside the frame.
    window_.setGeometry(QRect(outer->topLeft(), outer->size()));
    if (QWindow* handle = window_.windowHandle()) {
        handle->installEventFilter(this);
    }
    // Qt tells no event when the frame becomes known: look until it is.
    watchStart_.start();
    watch_.start();
}

void OuterGeometry::ApplyState(Ufiche::StoredShowState state) {
    switch (state) {
        case Ufiche::StoredShowState::Minimized: {
            // The window itself is normal; the application minimizes once
            // the window is up.
            window_.setWindowState(Qt::WindowNoState);
            QPointer<QWidget> window(&window_);
            QTimer::singleShot(0, [window] {
                if (window) {
                    window->showMinimized();
                }
            });
            break;
        }
        case Ufiche::StoredShowState::Maximized:
            window_.setWindowState(Qt::WindowMaximized);
            break;
        case Ufiche::StoredShowState::Normal:
            window_.setWindowState(Qt::WindowNoState);
            break;
    }
}

// The client rectangle inside the frame, placed by the client area's own
// corner, computed from the margins the window manager reported: Qt's idea
// of the window's current place may still be the one it asked for.
void OuterGeometry::Fit(const QRect& outer) {
    const QMargins margins = window_.windowHandle()->frameMargins();
    normalFrame_ = margins;
    window_.setGeometry(outer.marginsRemoved(margins));
}

void OuterGeometry::FinishRestore() {
    pending_.reset();
    ApplyState(pendingState_);
}

QRect OuterGeometry::normalOuterRect() const {
    if (!NotNormal(window_) && !pending_) {
        return window_.frameGeometry();
    }
    if (lastNormal_) {
        return *lastNormal_;
    }
    // Never seen in its normal state: the normal client rectangle in the
    // frame it has now.
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    return window_.normalGeometry().adjusted(
        frame.left() - client.left(), frame.top() - client.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom());
}

bool OuterGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ || watched == window_.windowHandle()) {
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
    if (NotNormal(window_)) {
        settle_.stop();
        return;
    }
    const QSize margins = FrameMargins();
    if (!minimumOuterSize_.isEmpty()) {
        const QSize minimum = (minimumOuterSize_ - margins).expandedTo(QSize(0, 0));
        if (window_.minimumSize() != minimum) {
            window_.setMinimumSize(minimum);
        }
    }
    if (pending_) {
        if (margins.isNull()) {
            return;  // not framed yet
        }
        const QRect outer = *pending_;
        pending_.reset();
        Fit(outer);
        ApplyState(pendingState_);
        lastNormal_ = outer;
        return;
    }
    // A rectangle counts once it has stood still a moment: while the window
    // manager maximizes, minimizes or re-frames a window, Qt reports passing
    // places and sizes before it reports the new state.
    // Nor does a frame other than the one the window manager gave the
    // normal window, which Qt may report for a moment meanwhile.
    if (normalFrame_ && window_.windowHandle()->frameMargins() != *normalFrame_) {
        return;
    }
    candidate_ = window_.frameGeometry();
    settle_.start();
}
