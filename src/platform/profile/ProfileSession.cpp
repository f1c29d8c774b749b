#include "platform/profile/ProfileSession.h"

#include "platform/errors/Messages.h"
#include "platform/errors/PlatformError.h"
#include "platform/profile/IniText.h"
#include "platform/profile/ProfileFile.h"

namespace platform {

namespace {

// The path is UTF-8.
[[noreturn]] void throwCannotWrite(const std::string& path) {
    throw PlatformError(messages::cannotWriteTo(QString::fromStdString(path)));
}

}  // namespace

ProfileSession::ProfileSession(const ProfileFile& file)
    : m_path(file.path()), m_target(followSymbolicLinks(m_path)) {
    m_readResult = readFileContent(m_target, m_readContent);
    // An unreadable file reads as a missing one: every read gives its default.
    if (m_readResult != FileReadResult::Read) {
        m_readContent.clear();
    }
    m_content = m_readContent;
}

std::string ProfileSession::readString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    return ini::readValue(m_content, section, key, defaultValue);
}

void ProfileSession::writeString(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (!ini::canStore(section, key, value)) {
        throwCannotWrite(m_path);
    }
    m_content = ini::withValue(m_content, section, key, value);
}

void ProfileSession::eraseSection(std::string_view section) {
    m_content = ini::withoutSection(m_content, section);
}

void ProfileSession::commit() {
    if (m_readResult == FileReadResult::Failed) {
        throwCannotWrite(m_path);
    }
    if (m_content == m_readContent) {
        return;
    }
    if (!replaceFileContent(m_target, m_content)) {
        throwCannotWrite(m_path);
    }
    // A second commit writes only what changed since this one.
    m_readContent = m_content;
}

}  // namespace platform
