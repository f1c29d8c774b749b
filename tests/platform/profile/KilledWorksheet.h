#pragma once

// What the worksheet kill tests save: shared by the test that kills forked
// children and the saving program that the Windows test terminates.

#include <QApplication>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>

#include <string>

#include "KilledSave.h"
#include "platform/richedit/TRxRichEdit.h"

namespace killed_save {

inline const std::string worksheetKey = "fiche";

// The first line changes from save to save; the lines after it make the
// document long enough for a kill to land while it is being written.
inline QString WorksheetText(int save) {
    QString text = QString::fromStdString(ValueAt(save, worksheetKey));
    for (int line = 1; line <= 2000; ++line) {
        text += QStringLiteral("\n%1\u00b0/ 12,5 hm = ........ m").arg(line);
    }
    return text;
}

// Saves a pane to `path` from save `firstSave` on, once or until the process
// is killed, as "Enregistrer" saves the subject. Returns the process's exit
// status: 0 after the one save, 1 when a save fails.
inline int SaveWorksheets(const std::string& path, int firstSave, bool once) {
    try {
        int argc = 1;
        char name[] = "fiche";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        platform::TRxRichEdit pane;
        pane.setPlainText(WorksheetText(firstSave));
        for (int save = firstSave;; ++save) {
            QTextCursor firstLine(pane.document()->firstBlock());
            firstLine.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            firstLine.insertText(QString::fromStdString(ValueAt(save, worksheetKey)));
            pane.SaveToFile(QString::fromStdString(path));
            if (once) {
                return 0;
            }
        }
    } catch (...) {
        return 1;
    }
}

}  // namespace killed_save
