#include "platform/system/System.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace platform {
namespace {

std::wstring Wide(const QString& text) {
    return text.toStdWString();
}

}  // namespace

QString ExecutablePath() {
    // Grown until the whole path fits: a path may exceed MAX_PATH.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return QDir::fromNativeSeparators(QString::fromStdWString(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsOnRemovableDrive(const QString& path) {
    // The root of the volume that holds the path: "E:\" for a USB stick, or
    // the mount folder of a volume mounted into a folder.
    const QString absolute = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    std::wstring root(absolute.size() + 2, L'\0');
    if (!::GetVolumePathNameW(Wide(absolute).c_str(), root.data(),
                              static_cast<DWORD>(root.size()))) {
        return false;
    }
    return ::GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
}

void detail::MakePrivateFolder(const QString& folder) {
    // Inside the user's profile a new folder inherits permissions that give
    // it to the user alone.
    ::CreateDirectoryW(Wide(QDir::toNativeSeparators(folder)).c_str(), nullptr);
}

bool IsDebuggerAttached() {
    return ::IsDebuggerPresent() != 0;
}

}  // namespace platform
