#pragma once

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <optional>

#include "Ufiche/window/settings/FormStorage.h"

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
class OuterGeometry : public QObject, public StoredPlacement {
public:
    explicit OuterGeometry(QWidget& window);

    // The smallest outer size the teacher may drag the window to.
    void SetMinimumOuterSize(const QSize& size);
    void Restore(const std::optional<QRect>& outer, StoredShowState state) override;
    QRect NormalOuterRect() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize FrameMargins() const;
    void Follow();
    void ApplyState(StoredShowState state);
    void FinishRestore();
    void Fit(const QRect& outer);

    QWidget& m_window;
    QSize m_minimumOuterSize;
    // Restored, waiting for the frame; and the state that follows it.
    std::optional<QRect> m_pending;
    StoredShowState m_pendingState = StoredShowState::Normal;
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
