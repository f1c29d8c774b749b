#include <windows.h>

#include <chrono>
#include <optional>
#include <thread>

#include "KillLoop.h"
#include "ProfileTestFolder.h"

namespace {

using ProfileFileKillTest = ProfileTestFolder;
using namespace killed_save;

// The saving program, built beside this test program.
std::wstring SaverPath() {
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"fiche_profile_saver.exe";
}

// Starts the saving program with `arguments` after the file's path and waits
// for it to end: after `waitMicroseconds` it is terminated, or with no wait
// it ends by itself. Returns its exit status (9 when it was terminated).
DWORD RunSaver(const std::string& path, const std::wstring& arguments,
               std::optional<unsigned> waitMicroseconds) {
    std::wstring commandLine = L"\"" + SaverPath() + L"\" \"" + Widen(path) + L"\" " + arguments;
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
    const std::string path = PathOf("fiches.ini");
    KeySaves file(path);
    // A process start under Wine takes tens of milliseconds.
    KillAndCheck(file, {40, 1208, 20000, 2000000}, [&](int firstSave, unsigned wait) {
        ASSERT_EQ(RunSaver(path, std::to_wstring(firstSave), wait), 9u)
            << "the saving program stopped by itself";
    });
    EXPECT_GT(file.KillsDuringASave(), 0) << "no kill landed in the middle of a save";
    ExpectOnlyTemporariesBeside("fiches.ini", NamesIn(Folder()));
}

TEST_F(ProfileFileKillTest, AWorksheetSaveTerminatedAtAnyMomentLeavesTheWholeOldOrNewWorksheet) {
    const std::string path = PathOf("fiche.rtf");
    ASSERT_EQ(RunSaver(path, L"0 worksheet-once", std::nullopt), 0u);
    WorksheetSaves file(path);
    ASSERT_TRUE(file.Valid()) << ReadBytes(path).substr(0, 500);
    // A QApplication starts before the first save.
    KillAndCheck(file, {30, 2611, 50000, 8000000}, [&](int firstSave, unsigned wait) {
        ASSERT_EQ(RunSaver(path, std::to_wstring(firstSave) + L" worksheet", wait), 9u)
            << "the saving program stopped by itself";
    });
    EXPECT_GT(file.SavesThrough(), 0) << "no save got through before a kill";
    ExpectOnlyTemporariesBeside("fiche.rtf", NamesIn(Folder()));
}

}  // namespace
