#include "Ufiche/window/ViewModeFilter.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

void SelectAll(QTextEdit& pane) {
    QTextCursor cursor = pane.textCursor();
    cursor.select(QTextCursor::Document);
    pane.setTextCursor(cursor);
}

// A move with the button held, which the pane itself takes for no
// selection of its own.
void DragOver(QTextEdit& pane) {
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, pane.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pane.viewport(), &move);
    QCoreApplication::processEvents();
}

TEST(ViewModeFilter, AnEventOnOnePaneCollapsesOnlyItsSelectionAndOnlyOutsideEditMode) {
    QWidget window;
    window.setWindowTitle("abc");
    QTextEdit subject("0123456789", &window);
    QTextEdit answerKey("0123456789", &window);
    bool editMode = false;
    for (QTextEdit* pane : {&subject, &answerKey}) {
        new ViewModeFilter(*pane, window, [&] { return editMode; });  // owned by the pane
        SelectAll(*pane);
    }

    DragOver(subject);
    EXPECT_FALSE(subject.textCursor().hasSelection());
    EXPECT_EQ(subject.textCursor().position(), 3);  // the title's length
    EXPECT_TRUE(answerKey.textCursor().hasSelection());

    editMode = true;
    SelectAll(subject);
    DragOver(subject);
    EXPECT_TRUE(subject.textCursor().hasSelection());
}

}  // namespace
