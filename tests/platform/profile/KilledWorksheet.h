#pragma once

// What the worksheet kill tests save and how they check the file a killed
// save left: shared by the test that kills forked children and the saving
// program that the Windows test terminates.

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
inline QString worksheetText(int save) {
    QString text = QString::fromStdString(valueAt(save, worksheetKey));
    for (int line = 1; line <= 2000; ++line) {
        text += QStringLiteral("\n%1\u00b0/ 12,5 hm = ........ m").arg(line);
    }
    return text;
}

// Saves a pane to `path` from save `firstSave` on, once or until the process
// is killed, as "Enregistrer" saves the subject. Returns the process's exit
// status: 0 after the one save, 1 when a save fails.
inline int saveWorksheets(const std::string& path, int firstSave, bool once) {
    try {
        int argc = 1;
        char name[] = "fiche";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        platform::TRxRichEdit pane;
        pane.setPlainText(worksheetText(firstSave));
        for (int save = firstSave;; ++save) {
            QTextCursor firstLine(pane.document()->firstBlock());
            firstLine.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            firstLine.insertText(QString::fromStdString(valueAt(save, worksheetKey)));
            pane.saveToFile(QString::fromStdString(path));
            if (once) {
                return 0;
            }
        }
    } catch (...) {
        return 1;
    }
}

// Every whole save is the document of save 0 with another first line.
class WorksheetShape {
public:
    explicit WorksheetShape(const std::string& firstDocument) {
        const std::string first = valueAt(0, worksheetKey);
        const std::size_t at = firstDocument.find(first);
        if (at != std::string::npos) {
            m_before = firstDocument.substr(0, at);
            m_after = firstDocument.substr(at + first.size());
        }
    }

    // Whether the first document was one (and long enough to be cut).
    bool valid() const { return !m_before.empty() && m_after.size() > 50000; }

    // The save whose whole document `content` is, -1 when it is none.
    int saveIn(const std::string& content) const {
        if (content.size() <= m_before.size() + m_after.size() || !content.starts_with(m_before) ||
            !content.ends_with(m_after)) {
            return -1;
        }
        return saveOf(
            content.substr(m_before.size(), content.size() - m_before.size() - m_after.size()),
            worksheetKey);
    }

private:
    std::string m_before;
    std::string m_after;
};

}  // namespace killed_save
