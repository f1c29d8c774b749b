#pragma once

// The kill tests' loop and checks, shared by the tests that kill forked
// children and those that terminate a saving program on Windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "KilledSave.h"
#include "KilledWorksheet.h"
#include "ProfileTestFolder.h"

namespace killed_save {

// When the kills come: at random moments below a bound that doubles while no
// save gets through before a kill (a slow machine, a process that is long to
// start) and halves once saves do, within the shortest and longest bounds.
struct KillSchedule {
    int kills;
    unsigned seed;
    unsigned shortestWait;  // microseconds
    unsigned longestWait;
};

// Kills saving processes as `schedule` says: `killSaving(firstSave, wait)`
// starts one that saves from `firstSave` on and kills it after `wait`
// microseconds, failing when it stopped by itself; then `file.check` checks
// the file and tells whether a save got through since the last check.
template <class SavedFile>
void KillAndCheck(SavedFile& file, const KillSchedule& schedule,
                  const std::function<void(int, unsigned)>& killSaving) {
    std::mt19937 random(schedule.seed);
    unsigned longestWait = schedule.shortestWait;
    for (int kill = 0; kill < schedule.kills; ++kill) {
        ASSERT_NO_FATAL_FAILURE(killSaving(file.NextSave(), random() % longestWait));
        bool gotThrough = false;
        ASSERT_NO_FATAL_FAILURE(file.Check(kill, gotThrough));
        longestWait = gotThrough ? std::max(longestWait / 2, schedule.shortestWait)
                                 : std::min(longestWait * 2, schedule.longestWait);
    }
}

// The settings file of the key saves, from the hand-written line and save 0.
class KeySaves {
public:
    explicit KeySaves(std::string path) : m_path(std::move(path)) {
        WriteBytes(m_path, handWrittenLine);
        SaveKeys(m_path, 0);
    }

    int NextSave() const { return m_saves.front() + 1; }
    int KillsDuringASave() const { return m_killsDuringASave; }

    // Every key holds a whole value, none older than before (a lost write)
    // and, keys being saved in order, none newer than the key before it.
    void Check(int kill, bool& gotThrough) {
        const std::vector<int> now = SavesIn(ReadBytes(m_path));
        ASSERT_EQ(now.size(), m_saves.size()) << "after kill " << kill;
        for (std::size_t i = 0; i < now.size(); ++i) {
            ASSERT_GE(now[i], m_saves[i]) << SavedKeys()[i].key << " after kill " << kill;
            if (i > 0) {
                ASSERT_LE(now[i], now[i - 1]) << SavedKeys()[i].key << " after kill " << kill;
            }
        }
        m_killsDuringASave += now.front() != now.back();
        gotThrough = now.front() != m_saves.front();
        m_saves = now;
    }

private:
    std::string m_path;
    std::vector<int> m_saves = std::vector<int>(SavedKeys().size(), 0);
    int m_killsDuringASave = 0;
};

// A worksheet saved once: every whole save is that document with another
// first line.
class WorksheetSaves {
public:
    explicit WorksheetSaves(std::string path) : m_path(std::move(path)) {
        const std::string firstDocument = ReadBytes(m_path);
        const std::string first = ValueAt(0, worksheetKey);
        const std::size_t at = firstDocument.find(first);
        if (at != std::string::npos) {
            m_before = firstDocument.substr(0, at);
            m_after = firstDocument.substr(at + first.size());
        }
    }

    // Whether the first document was one (and long enough to be cut).
    bool Valid() const { return !m_before.empty() && m_after.size() > 50000; }
    int NextSave() const { return m_lastSave + 1; }
    int SavesThrough() const { return m_savesThrough; }

    // The file is one whole document that a save wrote, no older than before.
    void Check(int kill, bool& gotThrough) {
        const std::string now = ReadBytes(m_path);
        const std::size_t firstLine = now.size() - m_before.size() - m_after.size();
        const int save = now.size() > m_before.size() + m_after.size() &&
                                 now.starts_with(m_before) && now.ends_with(m_after)
                             ? SaveOf(now.substr(m_before.size(), firstLine), worksheetKey)
                             : -1;
        ASSERT_GE(save, m_lastSave)
            << "a cut or older worksheet of " << now.size() << " bytes after kill " << kill;
        gotThrough = save != m_lastSave;
        m_savesThrough += gotThrough;
        m_lastSave = save;
    }

private:
    std::string m_path;
    std::string m_before;
    std::string m_after;
    int m_lastSave = 0;
    int m_savesThrough = 0;
};

// Only the temporary files of killed saves may lie beside the saved file.
inline void ExpectOnlyTemporariesBeside(const std::string& file,
                                        const std::vector<std::string>& names) {
    for (const auto& name : names) {
        EXPECT_TRUE(name == file || (name.starts_with("." + file + ".") && name.ends_with(".tmp")))
            << name;
    }
}

}  // namespace killed_save
