#include "platform/profile/ProfileFile.h"

#include "platform/profile/ProfileSession.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

// The path is UTF-8 on every system; on Windows a narrow std::filesystem
// path would be read in the ANSI code page and lose accented letters. The
// system's own separators, so that an error names the file as the user's
// other programs do (C:\Users\...).
std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute =
        std::filesystem::absolute(std::u8string(path.begin(), path.end()), error);
    if (error || path.empty()) {
        return path;
    }
    const std::u8string utf8 = absolute.make_preferred().u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace

ProfileFile::ProfileFile(const std::string& path) : m_path(AbsolutePath(path)) {}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return ProfileSession(*this).ReadString(section, key, defaultValue);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    ProfileSession session(*this);
    session.WriteString(section, key, value);
    session.Commit();
}

void ProfileFile::EraseSection(std::string_view section) {
    ProfileSession session(*this);
    session.EraseSection(section);
    session.Commit();
}

}  // namespace platform
