#include "platform/profile/ProfileFile.h"

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

struct SavedKey {
    std::string section;
    std::string key;
};

// The keys one save writes, in its order, over two sections.
const std::vector<SavedKey>& savedKeys() {
    static const std::vector<SavedKey> keys = [] {
        std::vector<SavedKey> list;
        for (const char* key :
             {"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos", "Visible",
              "spMaxLigne_Value", "spinterligne_Value", "eTitre1_Text", "eSepar_Text",
              "Combo1_Text", "trbNiveau_Position", "ckbEdite_Checked"}) {
            list.push_back({"TForm1", key});
        }
        for (const char* key : {"Count", "Item0", "Item1", "Item2", "Item3", "Item4"}) {
            list.push_back({"TForm1.Combo1_Items", key});
        }
        return list;
    }();
    return keys;
}

// The value a key takes at one save. Its length changes from save to save, so
// that a torn write would show.
std::string valueAt(int save, const std::string& key) {
    const std::size_t padding = (static_cast<std::size_t>(save) * 37 + key.size() * 11) % 300;
    return std::to_string(save) + ":" + key + ":" + std::string(padding, '#');
}

// The save a value comes from, or -1 when it is no whole value of that key.
int saveOf(const std::string& value, const std::string& key) {
    const std::size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 6 ||
        !std::all_of(value.begin(), value.begin() + static_cast<long>(colon),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    const int save = std::stoi(value.substr(0, colon));
    return value == valueAt(save, key) ? save : -1;
}

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

const std::string handWrittenLine = "; r\xE9glages de la fiche\n";

// Checks the file line by line: the hand-written line, then each section and
// each key exactly once, in order, each with a whole value. Returns the save
// each key's value comes from, empty when the file is damaged.
std::vector<int> savesIn(const std::string& content) {
    std::vector<int> saves;
    if (content.compare(0, handWrittenLine.size(), handWrittenLine) != 0) {
        ADD_FAILURE() << "hand-written line lost";
        return {};
    }
    std::size_t at = handWrittenLine.size();
    const auto nextLine = [&](std::string& line) {
        const std::size_t end = content.find("\r\n", at);
        if (end == std::string::npos) {
            return false;
        }
        line = content.substr(at, end - at);
        at = end + 2;
        return true;
    };
    std::string section;
    std::string line;
    for (const auto& k : savedKeys()) {
        if (k.section != section) {
            section = k.section;
            if (!nextLine(line) || line != "[" + section + "]") {
                ADD_FAILURE() << "expected section " << section << ", found \"" << line << "\"";
                return {};
            }
        }
        const std::string start = k.key + "=";
        if (!nextLine(line) || line.compare(0, start.size(), start) != 0) {
            ADD_FAILURE() << "expected key " << k.key << ", found \"" << line << "\"";
            return {};
        }
        const int save = saveOf(line.substr(start.size()), k.key);
        if (save < 0) {
            ADD_FAILURE() << "damaged line \"" << line << "\"";
            return {};
        }
        saves.push_back(save);
    }
    if (at != content.size()) {
        ADD_FAILURE() << "unexpected bytes after the last key: \"" << content.substr(at) << "\"";
        return {};
    }
    return saves;
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
