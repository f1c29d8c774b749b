#include "platform/profile/ProfileFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <thread>

#include "KilledSave.h"
#include "KilledWorksheet.h"
#include "ProfileTestFolder.h"

namespace {

using platform::ProfileFile;
using ProfileFileKillTest = ProfileTestFolder;
using namespace killed_save;

std::wstring widen(const std::string& utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The saving program, built beside this test program.
std::wstring saverPath() {
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"fiche_profile_saver.exe";
}

// Starts the saving program with `arguments` after the file's path and waits
// for it to end: after `waitMicroseconds` it is terminated, or with no wait
// it ends by itself. Returns its exit status (9 when it was terminated).
DWORD runSaver(const std::string& path, const std::wstring& arguments,
               std::optional<unsigned> waitMicroseconds) {
    std::wstring commandLine = L"\"" + saverPath() + L"\" \"" + widen(path) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &child)) {
        ADD_FAILURE() << "the saving program did not start: " << ::GetLastError();
        return 0;
    }
    if (waitMicroseconds) {
        std::this_thread::sleep_for(std::chrono::microseconds(*waitMicroseconds));
        ::TerminateProcess(child.hProcess, 9);
    }
    EXPECT_EQ(::WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD status = 0;
    ::GetExitCodeProcess(child.hProcess, &status);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
    return status;
}

TEST_F(ProfileFileKillTest, ASaveTerminatedAtAnyMomentLeavesEveryKeyWithItsOldOrNewValue) {
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
    // As with fork: the bound grows while the child writes nothing before it
    // is terminated (a process start under Wine takes tens of milliseconds).
    unsigned longestWait = 20000;
    for (int kill = 0; kill < 40; ++kill) {
        const int nextSave = saves.front() + 1;
        ASSERT_EQ(runSaver(path, std::to_wstring(nextSave), random() % longestWait), 9u)
            << "the saving program stopped by itself";

        const std::vector<int> now = savesIn(readBytes(path));
        ASSERT_EQ(now.size(), saves.size()) << "after kill " << kill;
        for (std::size_t i = 0; i < now.size(); ++i) {
            ASSERT_GE(now[i], saves[i]) << savedKeys()[i].key << " after kill " << kill;
            if (i > 0) {
                ASSERT_LE(now[i], now[i - 1]) << savedKeys()[i].key << " after kill " << kill;
            }
        }
        killsDuringASave += now.front() != now.back();
        longestWait = now.front() == saves.front() ? std::min(longestWait * 2, 2000000u)
                                                   : std::max(longestWait / 2, 20000u);
        saves = now;
    }
    EXPECT_GT(killsDuringASave, 0) << "no kill landed in the middle of a save";
    for (const auto& name : namesIn(folder())) {
        EXPECT_TRUE(name == "fiches.ini" ||
                    (name.rfind(".fiches.ini.", 0) == 0 && name.ends_with(".tmp")))
            << name;
    }
}

TEST_F(ProfileFileKillTest, AWorksheetSaveTerminatedAtAnyMomentLeavesTheWholeOldOrNewWorksheet) {
    const std::string path = pathOf("fiche.rtf");
    ASSERT_EQ(runSaver(path, L"0 worksheet-once", std::nullopt), 0u);
    const WorksheetShape shape(readBytes(path));
    ASSERT_TRUE(shape.valid()) << readBytes(path).substr(0, 500);
    int lastSave = 0;
    int killsAfterNewSaves = 0;
    std::mt19937 random(2611);
    // A QApplication starts before the first save: the bound grows while no
    // save gets through.
    unsigned longestWait = 50000;
    for (int kill = 0; kill < 30; ++kill) {
        ASSERT_EQ(
            runSaver(path, std::to_wstring(lastSave + 1) + L" worksheet", random() % longestWait),
            9u)
            << "the saving program stopped by itself";
        const std::string now = readBytes(path);
        const int save = shape.saveIn(now);
        ASSERT_GE(save, lastSave) << "a cut or older worksheet of " << now.size()
                                  << " bytes after kill " << kill;
        killsAfterNewSaves += save != lastSave;
        longestWait = save == lastSave ? std::min(longestWait * 2, 8000000u)
                                       : std::max(longestWait / 2, 50000u);
        lastSave = save;
    }
    EXPECT_GT(killsAfterNewSaves, 0) << "no save got through before a kill";
    for (const auto& name : namesIn(folder())) {
        EXPECT_TRUE(name == "fiche.rtf" ||
                    (name.starts_with(".fiche.rtf.") && name.ends_with(".tmp")))
            << name;
    }
}

}  // namespace
