#include "platform/profile/ProfileFile.h"

#include "KilledSave.h"
#include "ProfileTestFolder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace {

using platform::ProfileFile;
using ProfileFileKillTest = ProfileTestFolder;
using namespace killed_save;

[[noreturn]] void saveUntilKilled(const std::string& path, int firstSave) {
    try {
        for (int save = firstSave;; ++save) {
            ProfileFile file(path);
            for (const auto& k : savedKeys()) {
                file.writeString(k.section, k.key, valueAt(save, k.key));
            }
        }
    } catch (...) {
        ::_exit(1);
    }
}

TEST_F(ProfileFileKillTest, ASaveKilledAtAnyMomentLeavesEveryKeyWithItsOldOrNewValue) {
    const std::string path = pathOf("fiches.ini");
    writeBytes(path, handWrittenLine);
    {
        ProfileFile file(path);
        for (const auto& k : savedKeys()) {
            file.writeString(k.section, k.key, valueAt(0, k.key));
        }
    }
    std::vector<int> saves(savedKeys().size(), 0);
    std::mt19937 random(1208);
    int killsDuringASave = 0;
    // Kills come at random moments up to this bound, which grows on a machine
    // too slow for the child to write anything before it.
    unsigned longestWait = 8000;
    for (int kill = 0; kill < 150; ++kill) {
        const int nextSave = saves.front() + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            saveUntilKilled(path, nextSave);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % longestWait));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process stopped by itself: " << status;

        const std::vector<int> now = savesIn(readBytes(path));
        ASSERT_EQ(now.size(), saves.size()) << "after kill " << kill;
        for (std::size_t i = 0; i < now.size(); ++i) {
            // Older than before would be a lost write; keys are saved in
            // order, so a later key is never newer than an earlier one.
            ASSERT_GE(now[i], saves[i]) << savedKeys()[i].key << " after kill " << kill;
            if (i > 0) {
                ASSERT_LE(now[i], now[i - 1]) << savedKeys()[i].key << " after kill " << kill;
            }
        }
        killsDuringASave += now.front() != now.back();
        longestWait = now.front() == saves.front() ? std::min(longestWait * 2, 500000u)
                                                   : std::max(longestWait / 2, 8000u);
        saves = now;
    }
    EXPECT_GT(killsDuringASave, 0) << "no kill landed in the middle of a save";
    // Only the temporary files of killed saves may lie beside the settings file.
    for (const auto& name : namesIn(folder())) {
        EXPECT_TRUE(name == "fiches.ini" ||
                    (name.rfind(".fiches.ini.", 0) == 0 && name.size() > 4 &&
                     name.compare(name.size() - 4, 4, ".tmp") == 0))
            << name;
    }
}

}  // namespace
