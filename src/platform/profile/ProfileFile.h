#pragma once

#include <string>
#include <string_view>

namespace platform {

// An INI settings file used as the Windows profile functions use theirs.
// Section, key and value are Windows-1252 text; names match regardless of
// ASCII letter case. Each call opens the file, does its one operation and
// closes it, so the object holds nothing but the path; a ProfileSession does
// many operations in one opening.
class ProfileFile {
public:
    // A relative path is taken from the current folder, once, here.
    explicit ProfileFile(const std::string& path);

    // The file's full path.
    const std::string& Path() const { return m_path; }

    // The key's value without the blanks around it and without one outer pair
    // of matching quotes, at most 2047 characters; the default when the file,
    // the section or the key is missing or the file cannot be read.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Sets the key: an existing key is rewritten in its place, a new one goes
    // at the end of its section, a new section at the end of the file. The
    // file on disk is whole after the call whatever happens during it. Throws
    // PlatformError "Impossible d'écrire dans <path>" when the value cannot be
    // written (the file or its folder is read-only, the disk is full, or the
    // key or value holds a line break or NUL that the file cannot keep).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name, header and keys. Throws as
    // WriteString does.
    void EraseSection(std::string_view section);

private:
    std::string m_path;
};

}  // namespace platform
