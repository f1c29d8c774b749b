#include "platform/profile/ProfileSession.h"

#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/profile/IniText.h"
#include "platform/profile/ProfileFile.h"

namespace platform {

namespace {

// The path is UTF-8.
[[noreturn]] void ThrowCannotWrite(const std::string& path) {
    throw PlatformError(messages::CannotWriteTo(QString::fromStdString(path)));
}

}  // namespace

ProfileSession::ProfileSession(const ProfileFile& file)
    : m_path(file.Path()), m_target(FollowSymbolicLinks(m_path)) {
    m_readResult = ReadFileContent(m_target, m_readContent);
    // An unreadable file reads as a missing one: every read gives its default.
    if (m_readResult != FileReadResult::Read) {
        m_readContent.clear();
    }
    m_content = m_readContent;
}

std::string ProfileSession::ReadString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    return ini::ReadValue(m_content, section, key, defaultValue);
}

void ProfileSession::WriteString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (!ini::CanStore(section, key, value)) {
        ThrowCannotWrite(m_path);
    }
    m_content = ini::WithValue(m_content, section, key, value);
}

void ProfileSession::EraseSection(std::string_view section) {
    m_content = ini::WithoutSection(m_content, section);
}

void ProfileSession::Commit() {
    if (m_readResult == FileReadResult::Failed) {
        ThrowCannotWrite(m_path);
    }
    if (m_content == m_readContent) {
        return;
    }
    if (!ReplaceFileContent(m_target, m_content)) {
        ThrowCannotWrite(m_path);
    }
    // A second commit writes only what changed since this one.
    m_readContent = m_content;
}

}  // namespace platform
