// Saves the kill test's keys over and over into the file named by its first
// argument (UTF-8), starting at the save number of its second, until it is
// terminated: the Windows counterpart of the forked child.
#include <windows.h>

#include <cstdlib>

#include "KilledSave.h"
#include "platform/profile/ProfileFile.h"

int main() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || count != 3) {
        return 2;
    }
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, arguments[1], -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, arguments[1], -1, path.data(), length, nullptr, nullptr);
    path.resize(path.size() - 1);  // the terminating zero
    const int firstSave = std::wcstol(arguments[2], nullptr, 10);
    try {
        for (int save = firstSave;; ++save) {
            platform::ProfileFile file(path);
            for (const auto& k : killed_save::savedKeys()) {
                file.writeString(k.section, k.key, killed_save::valueAt(save, k.key));
            }
        }
    } catch (...) {
        return 1;
    }
}
