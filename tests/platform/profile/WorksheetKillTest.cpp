// A worksheet saved over and over by a process killed at random moments: the
// file on disk is always one whole document that a save wrote, never a cut
// one. Forked children, like the settings file's kill test; each child makes
// its own QApplication, which this program's own process never has.
#include "platform/richedit/TRxRichEdit.h"

#include "KilledSave.h"
#include "ProfileTestFolder.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace {

using WorksheetKillTest = ProfileTestFolder;
using namespace killed_save;

const std::string worksheetKey = "fiche";

// The first line changes from save to save; the lines after it make the
// document long enough for a kill to land while it is being written.
QString worksheetText(int save) {
    QString text = QString::fromStdString(valueAt(save, worksheetKey));
    for (int line = 1; line <= 2000; ++line) {
        text += QStringLiteral("\n%1\u00b0/ 12,5 hm = ........ m").arg(line);
    }
    return text;
}

// In the child: saves the pane to `path` from save `firstSave` on, once or
// until the process is killed.
[[noreturn]] void saveWorksheets(const std::string& path, int firstSave, bool once) {
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
                ::_exit(0);
            }
        }
    } catch (...) {
        ::_exit(1);
    }
}

pid_t startSaving(const std::string& path, int firstSave, bool once) {
    const pid_t child = ::fork();
    if (child == 0) {
        saveWorksheets(path, firstSave, once);
    }
    return child;
}

TEST_F(WorksheetKillTest, ASaveKilledAtAnyMomentLeavesTheWholeOldOrTheWholeNewWorksheet) {
    const std::string path = pathOf("fiche.rtf");
    const pid_t first = startSaving(path, 0, true);
    ASSERT_GE(first, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(first, &status, 0), first);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // Every whole save is this document with another first line.
    const std::string saved = readBytes(path);
    const std::size_t at = saved.find(valueAt(0, worksheetKey));
    ASSERT_NE(at, std::string::npos) << saved.substr(0, 500);
    const std::string before = saved.substr(0, at);
    const std::string after = saved.substr(at + valueAt(0, worksheetKey).size());
    ASSERT_GT(after.size(), 50000u);

    int lastSave = 0;
    int killsAfterNewSaves = 0;
    std::mt19937 random(2611);
    // Each child starts a QApplication before its first save: the bound on
    // the wait grows while no save gets through and shrinks once they do.
    unsigned longestWait = 20000;
    for (int kill = 0; kill < 60; ++kill) {
        const pid_t child = startSaving(path, lastSave + 1, false);
        ASSERT_GE(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % longestWait));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process stopped by itself: " << status;

        const std::string now = readBytes(path);
        ASSERT_TRUE(now.size() > before.size() + after.size() && now.starts_with(before) &&
                    now.ends_with(after))
            << "a cut worksheet of " << now.size() << " bytes after kill " << kill;
        const int save = saveOf(
            now.substr(before.size(), now.size() - before.size() - after.size()), worksheetKey);
        ASSERT_GE(save, lastSave) << "after kill " << kill;
        killsAfterNewSaves += save != lastSave;
        longestWait = save == lastSave ? std::min(longestWait * 2, 4000000u)
                                       : std::max(longestWait / 2, 20000u);
        lastSave = save;
    }
    EXPECT_GT(killsAfterNewSaves, 0) << "no save got through before a kill";
    // Only the temporary files of killed saves may lie beside the worksheet.
    for (const auto& name : namesIn(folder())) {
        EXPECT_TRUE(name == "fiche.rtf" ||
                    (name.starts_with(".fiche.rtf.") && name.ends_with(".tmp")))
            << name;
    }
}

}  // namespace
