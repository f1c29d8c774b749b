#pragma once

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <optional>

#include "Ufiche/window/settings/StoredValues.h"

class QWidget;

namespace Ufiche {

// The outer (frame) rectangle of a top-level window, which is what the
// settings file stores and what the minimum size is about. Under an X11
// window manager the frame exists only once the manager has framed the
// mapped window: until then Qt reports a frame as large as the client area.
// So an outer rectangle restored before that is applied in two steps: at
// once as if there were no frame, and again, with the frame taken off the
// client size, as soon as the window is framed; the restored state
// (maximized, minimized) follows that second step, so that the window
// manager keeps the right normal rectangle for it.
class OuterGeometry : public QObject {
public:
    explicit OuterGeometry(QWidget& window);

    // The smallest outer size the teacher may drag the window to.
    void SetMinimumOuterSize(const QSize& size);
    // Restores the normal outer rectangle, when there is one, and the state.
    void Restore(const std::optional<QRect>& outer, Ufiche::StoredShowState state);
    // The normal outer rectangle, also while the window is maximized or
    // minimized.
    QRect NormalOuterRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize FrameMargins() const;
    void Follow();
    void ApplyState(Ufiche::StoredShowState state);
    void FinishRestore();
    void Fit(const QRect& outer);

    QWidget& m_window;
    QSize m_minimumOuterSize;
    // Restored, waiting for the frame; and the state that follows it.
    std::optional<QRect> m_pending;
    Ufiche::StoredShowState m_pendingState = Ufiche::StoredShowState::Normal;
    // The last one that stood still in the normal state, with its frame; the
    // one seen last, until it has stood still long enough.
    std::optional<QRect> m_lastNormal;
    QRect m_candidate;
    // The frame of the normal window, once known from the fit.
    std::optional<QMargins> m_normalFrame;
    QTimer m_settle;
    // Looks for the frame after a restore.
    QTimer m_watch;
    QElapsedTimer m_watchStart;
};

}  // namespace Ufiche
