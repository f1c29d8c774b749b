#include "platform/files/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

namespace platform {

namespace {

// Deeper chains fail like the system's own ELOOP limit.
constexpr int maxLinkHops = 40;

struct PathParts {
    std::string folder;  // ends in "/" unless empty (the current folder)
    std::string name;
};

PathParts Split(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {"", path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset(int fd) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    // Closes now, reporting the errors that a delayed write may show only here.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool WriteAllAt(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written =
            ::pwrite(fd, content.data() + done, content.size() - done, static_cast<off_t>(done));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool WriteWhole(int fd, std::string_view content) {
    return WriteAllAt(fd, content) && ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 &&
           ::fsync(fd) == 0;
}

bool FolderRefuses(int error) {
    return error == EACCES || error == EPERM;
}

// The new file that takes the old file's place by a rename; removed unless the
// rename took place.
class TemporaryFile {
public:
    explicit TemporaryFile(const PathParts& target) {
        std::random_device seed;
        std::mt19937 random(seed());
        // The target's name is shortened so that the temporary name stays
        // within the system's limit for one name.
        const std::string stem = target.folder + "." + target.name.substr(0, 200) + ".";
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = stem + std::to_string(random() % 1000000) + ".tmp";
            const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                m_fd.Reset(fd);
                return;
            }
            if (errno != EEXIST) {
                break;
            }
        }
        m_error = errno;
        m_path.clear();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
        }
    }

    bool Created() const { return !m_path.empty(); }
    int CreationError() const { return m_error; }
    FileDescriptor& Descriptor() { return m_fd; }

    // Returns errno of a failed rename, 0 on success.
    int RenameTo(const std::string& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) {
            return errno;
        }
        m_path.clear();
        return 0;
    }

private:
    std::string m_path;
    FileDescriptor m_fd;
    int m_error = 0;
};

// The new file takes the owner, group and permissions of the one it replaces;
// what the system refuses (another owner when not root) stays as created.
void CopyOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, -1, old.st_gid) != 0) {
        // ignored: the file keeps our owner and group
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
        // ignored: the file keeps the permissions of a new file
    }
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        ::fsync(fd.Get());  // the rename is durable once the folder is flushed
    }
}

// Rewrites the file itself, as a folder that refuses new files allows; a
// failure (a full disk) puts the previous content back as far as it can. A
// file whose content cannot be read first is not rewritten, since a failure
// would then lose it.
bool RewriteInPlace(const std::string& path, std::string_view content) {
    std::string previousContent;
    if (ReadFileContent(path, previousContent) != FileReadResult::Read) {
        return false;
    }
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        return false;
    }
    if (WriteWhole(fd.Get(), content)) {
        return fd.Close();
    }
    WriteWhole(fd.Get(), previousContent);
    return false;
}

}  // namespace

std::string FollowSymbolicLinks(std::string path) {
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat status;
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return path;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : Split(path).folder + target;
    }
    return path;
}

FileReadResult ReadFileContent(const std::string& path, std::string& content) {
    content.clear();
    // Non-blocking, so that a FIFO in place of the file cannot hang the program.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        return errno == ENOENT ? FileReadResult::Missing : FileReadResult::Failed;
    }
    struct stat status;
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FileReadResult::Failed;
    }
    content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            content.clear();
            return FileReadResult::Failed;
        }
        if (got == 0) {
            return FileReadResult::Read;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

bool ReplaceFileContent(const std::string& requestedPath, std::string_view content) {
    const std::string path = FollowSymbolicLinks(requestedPath);
    struct stat old;
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists &&
        (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)) {
        // A read-only file stays as it is even where the folder would let us
        // replace it, as the user protected it.
        return false;
    }

    const PathParts parts = Split(path);
    TemporaryFile temporary(parts);
    if (!temporary.Created()) {
        return exists && FolderRefuses(temporary.CreationError()) && RewriteInPlace(path, content);
    }
    FileDescriptor& fd = temporary.Descriptor();
    if (exists) {
        CopyOwnerAndMode(fd.Get(), old);
    }
    if (!WriteWhole(fd.Get(), content) || !fd.Close()) {
        return false;
    }
    const int renameError = temporary.RenameTo(path);
    if (renameError != 0) {
        // A sticky folder may refuse to replace a file of another owner that
        // we may still write.
        return exists && FolderRefuses(renameError) && RewriteInPlace(path, content);
    }
    SyncFolder(parts.folder);
    return true;
}

}  // namespace platform
