// Saves the kill test's keys over and over into the file named by its first
// argument (UTF-8), starting at the save number of its second, until it is
// terminated: the Windows counterpart of the forked child. With a third
// argument, "worksheet" or "worksheet-once", it saves a worksheet instead,
// until it is terminated or once.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "KilledSave.h"
#include "KilledWorksheet.h"

int main() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || (count != 3 && count != 4)) {
        return 2;
    }
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, arguments[1], -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, arguments[1], -1, path.data(), length, nullptr, nullptr);
    path.resize(path.size() - 1);  // the terminating zero
    const int firstSave = std::wcstol(arguments[2], nullptr, 10);
    if (count == 4) {
        const std::wstring mode = arguments[3];
        if (mode != L"worksheet" && mode != L"worksheet-once") {
            return 2;
        }
        return killed_save::SaveWorksheets(path, firstSave, mode == L"worksheet-once");
    }
    return killed_save::SaveKeysUntilKilled(path, firstSave);
}
