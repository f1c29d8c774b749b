#pragma once

#include <string>
#include <string_view>

// Whole-file reads, and the one way the program replaces a file it writes
// whole (worksheets, the settings file), so that no such file is ever left
// half written.
namespace platform {

// The path that a chain of symbolic links ends at (the path itself when it is
// no link). The end need not exist; a relative link is taken from the folder
// of the link.
std::string FollowSymbolicLinks(std::string path);

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole regular file into content. Missing when nothing is at the
// path; Failed when something is there but cannot be read as a regular file.
FileReadResult ReadFileContent(const std::string& path, std::string& content);

// Gives the file at path the new content, so that a reader or a crash sees
// either the whole old or the whole new content: the content goes to a new
// file in the same folder, is flushed to the disk and renamed over the old
// file, whose permissions it takes. A symbolic link at path is followed and
// stays. A folder that refuses new files or the rename leaves the file
// rewritten in place, and a failure then puts its earlier content back; an
// earlier content that cannot be read back refuses that rewrite. An existing
// file we may not write, or that is no regular file, is left alone. Returns
// false when the content could not be written.
bool ReplaceFileContent(const std::string& path, std::string_view content);

}  // namespace platform
