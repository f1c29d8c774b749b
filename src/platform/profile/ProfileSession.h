#pragma once

#include <string>
#include <string_view>

#include "platform/files/FileContent.h"

namespace platform {

class ProfileFile;

// One opening of an INI settings file for a whole restore or save: the file
// is read once, here; reads and edits then work on that copy, and Commit()
// writes the result back in one safe replacement. The reads and edits mean
// what ProfileFile's do.
class ProfileSession {
public:
    explicit ProfileSession(const ProfileFile& file);

    // As ProfileFile::ReadString, on the copy with the session's edits.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // As ProfileFile::WriteString and EraseSection, in the copy only. A key or
    // value that the file cannot keep throws PlatformError "Impossible
    // d'écrire dans <path>" at once and leaves the copy as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);

    // Gives the file the edited content, unless no edit changed it. Throws
    // PlatformError "Impossible d'écrire dans <path>" when the file could not
    // be read at the start (writing over it would lose what it holds) or the
    // content cannot be written; the file then stays as it was.
    void Commit();

private:
    std::string m_path;    // full path, as messages name the file
    std::string m_target;  // the file at the end of any symbolic links
    FileReadResult m_readResult;
    std::string m_readContent;
    std::string m_content;
};

}  // namespace platform
