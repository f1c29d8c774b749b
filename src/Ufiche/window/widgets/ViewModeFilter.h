#pragma once

#include <QObject>

#include <functional>

class QTextEdit;
class QWidget;

namespace Ufiche {

// The mouse and drag handling of one rich-text pane outside edit mode: no
// selection survives a press, a release or a drag, and nothing may be dropped
// on the pane. In edit mode the pane behaves as an ordinary editable field.
// Installed on the pane's viewport, where the mouse and drag events arrive.
class ViewModeFilter : public QObject {
    Q_OBJECT

public:
    // `titleSource` is the window whose title's length places the caret after
    // a collapse; `editMode` tells whether the window is in edit mode.
    ViewModeFilter(QTextEdit& pane, const QWidget& titleSource, std::function<bool()> editMode);

    // Called for every mouse move over the pane, with or without a button.
    void SetMouseMoveHandler(std::function<void()> handler);

    // Collapses the selection now, in either mode: the caret goes to the
    // offset of the title's length, within the text.
    void CollapseSelection();
    // Outside edit mode, collapses the selection once the pane has handled the
    // current event (the pane makes its own selection from it first).
    void CollapseSelectionLater();
    // Outside edit mode, refuses the drag or drop and collapses the selection.
    void RefuseDrop(QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit& m_pane;
    QWidget* m_viewport;
    const QWidget& m_titleSource;
    std::function<bool()> m_editMode;
    std::function<void()> m_mouseMoveHandler;
};

}  // namespace Ufiche
