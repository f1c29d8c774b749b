// A worksheet saved over and over by a process killed at random moments: the
// file on disk is always one whole document that a save wrote, never a cut
// one. Each forked child makes its own QApplication, which this program's own
// process never has.
#include "KilledWorksheet.h"
#include "ProfileTestFolder.h"

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

pid_t startSaving(const std::string& path, int firstSave, bool once) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(saveWorksheets(path, firstSave, once));
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
    const WorksheetShape shape(readBytes(path));
    ASSERT_TRUE(shape.valid()) << readBytes(path).substr(0, 500);

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
        const int save = shape.saveIn(now);
        ASSERT_GE(save, lastSave) << "a cut or older worksheet of " << now.size()
                                  << " bytes after kill " << kill;
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
