#include "platform/profile/ProfileFile.h"

#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/files/FileContent.h"
#include "platform/profile/IniText.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// The path is UTF-8 on every system; on Windows a narrow std::filesystem
// path would be read in the ANSI code page and lose accented letters. The
// system's own separators, so that an error names the file as the user's
// other programs do (C:\Users\...).
std::string absolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute =
        std::filesystem::absolute(std::u8string(path.begin(), path.end()), error);
    if (error || path.empty()) {
        return path;
    }
    const std::u8string utf8 = absolute.make_preferred().u8string();
    return std::string(utf8.begin(), utf8.end());
}

// The error of every write that fails; the path is UTF-8.
PlatformError cannotWrite(const std::string& path) {
    return PlatformError(messages::cannotWriteTo(QString::fromStdString(path)));
}

}  // namespace

ProfileFile::ProfileFile(const std::string& path) : path_(absolutePath(path)) {}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    std::string content;
    // An unreadable file gives the defaults, as a missing one does.
    if (readFileContent(followSymbolicLinks(path_), content) != FileReadResult::Read) {
        return std::string(defaultValue);
    }
    return ini::readValue(content, section, key, defaultValue);
}

template <class Edit>
void ProfileFile::update(Edit edit) {
    const std::string target = followSymbolicLinks(path_);
    std::string content;
    // Writing over a file whose content we could not read would lose it.
    if (readFileContent(target, content) == FileReadResult::Failed) {
        throw cannotWrite(path_);
    }
    const std::string updated = edit(content);
    if (updated == content) {
        return;
    }
    if (!replaceFileContent(target, updated)) {
        throw cannotWrite(path_);
    }
}

void ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (!ini::canStore(section, key, value)) {
        throw cannotWrite(path_);
    }
    update([&](std::string_view content) { return ini::withValue(content, section, key, value); });
}

void ProfileFile::eraseSection(std::string_view section) {
    update([&](std::string_view content) { return ini::withoutSection(content, section); });
}

}  // namespace platform
