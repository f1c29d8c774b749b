// Files saved over and over by a process killed at random moments: the
// settings file always holds every key with a whole value, a worksheet is
// always one whole document that a save wrote, never a cut one. Each forked
// child that saves a worksheet makes its own QApplication, which this
// program's own process never has.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "KillLoop.h"
#include "ProfileTestFolder.h"

namespace {

using ProfileFileKillTest = ProfileTestFolder;
using namespace killed_save;

// Forks a child that runs `save` and exits with what it returns, and kills it
// after `waitMicroseconds`.
void KillChild(const std::function<int()>& save, unsigned waitMicroseconds) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(save());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(waitMicroseconds));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process stopped by itself: " << status;
}

TEST_F(ProfileFileKillTest, ASaveKilledAtAnyMomentLeavesEveryKeyWithItsOldOrNewValue) {
    const std::string path = PathOf("fiches.ini");
    KeySaves file(path);
    KillAndCheck(file, {150, 1208, 8000, 500000}, [&](int firstSave, unsigned wait) {
        KillChild([&] { return SaveKeysUntilKilled(path, firstSave); }, wait);
    });
    EXPECT_GT(file.KillsDuringASave(), 0) << "no kill landed in the middle of a save";
    ExpectOnlyTemporariesBeside("fiches.ini", NamesIn(Folder()));
}

TEST_F(ProfileFileKillTest, AWorksheetSaveKilledAtAnyMomentLeavesTheWholeOldOrNewWorksheet) {
    const std::string path = PathOf("fiche.rtf");
    const pid_t first = ::fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        ::_exit(SaveWorksheets(path, 0, true));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(first, &status, 0), first);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    WorksheetSaves file(path);
    ASSERT_TRUE(file.Valid()) << ReadBytes(path).substr(0, 500);
    // Each child starts a QApplication before its first save.
    KillAndCheck(file, {60, 2611, 20000, 4000000}, [&](int firstSave, unsigned wait) {
        KillChild([&] { return SaveWorksheets(path, firstSave, false); }, wait);
    });
    EXPECT_GT(file.SavesThrough(), 0) << "no save got through before a kill";
    ExpectOnlyTemporariesBeside("fiche.rtf", NamesIn(Folder()));
}

}  // namespace
