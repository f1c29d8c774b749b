#include "platform/files/FileContent.h"

#include <windows.h>

#include <random>

namespace platform {

namespace {

// Paths travel as UTF-8 through the program and become UTF-16 only here, so
// that a folder such as C:\Users\Hélène reaches the system whole.
std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    return wide;
}

struct PathParts {
    std::wstring folder;  // ends in a separator unless empty (the current folder)
    std::wstring name;
};

PathParts Split(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    if (separator == std::wstring::npos) {
        return {L"", path};
    }
    return {path.substr(0, separator + 1), path.substr(separator + 1)};
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (Valid()) {
            ::CloseHandle(m_handle);
        }
    }
    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle) {
        if (Valid()) {
            ::CloseHandle(m_handle);
        }
        m_handle = handle;
    }
    // Closes now, reporting the errors that a delayed write may show only here.
    bool Close() {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// Writes the whole content from the start of the file, cuts what lies beyond
// it and flushes it to the disk.
bool WriteWhole(HANDLE file, std::string_view content) {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return false;
    }
    std::size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return ::SetEndOfFile(file) && ::FlushFileBuffers(file);
}

bool FolderRefuses(DWORD error) {
    return error == ERROR_ACCESS_DENIED;
}

// The new file that takes the place of the old one; removed unless it did.
class TemporaryFile {
public:
    explicit TemporaryFile(const PathParts& target) {
        std::random_device seed;
        std::mt19937 random(seed());
        const std::wstring stem = target.folder + L"." + target.name.substr(0, 200) + L".";
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = stem + std::to_wstring(random() % 1000000) + L".tmp";
            const HANDLE handle =
                ::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) {
                m_handle.Reset(handle);
                return;
            }
            m_error = ::GetLastError();
            if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS) {
                break;
            }
        }
        m_path.clear();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        m_handle.Reset(INVALID_HANDLE_VALUE);
        if (!m_path.empty()) {
            ::DeleteFileW(m_path.c_str());
        }
    }

    bool Created() const { return !m_path.empty(); }
    void TakeAttributes(DWORD attributes) {
        if (attributes != 0) {
            ::SetFileAttributesW(m_path.c_str(), attributes);
        }
    }
    DWORD CreationError() const { return m_error; }
    Handle& Descriptor() { return m_handle; }

    // Puts the flushed and closed file in place of target in one step: a
    // replacing rename, written through to the disk before it returns.
    // (ReplaceFileW would keep the old file's permissions, but it is several
    // steps, and a process killed between them under Wine leaves no file.)
    // Returns the error of a failed rename, 0 on success.
    DWORD replace(const std::wstring& target) {
        if (!::MoveFileExW(m_path.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return ::GetLastError();
        }
        m_path.clear();
        return 0;
    }

private:
    std::wstring m_path;
    Handle m_handle;
    DWORD m_error = 0;
};

FileReadResult ReadWholeFile(const std::wstring& path, std::string& content) {
    content.clear();
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? FileReadResult::Missing
                   : FileReadResult::Failed;
    }
    // A pipe or a device in place of the file is no file of ours.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return FileReadResult::Failed;
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            content.clear();
            return FileReadResult::Failed;
        }
        if (got == 0) {
            return FileReadResult::Read;
        }
        content.append(buffer, got);
    }
}

// Rewrites the file itself, as a folder that refuses new files allows; a
// failure (a full disk) puts the previous content back as far as it can. A
// file whose content cannot be read first is not rewritten, since a failure
// would then lose it.
bool RewriteInPlace(const std::wstring& path, std::string_view content) {
    std::string previousContent;
    if (ReadWholeFile(path, previousContent) != FileReadResult::Read) {
        return false;
    }
    Handle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return false;
    }
    if (WriteWhole(file.Get(), content)) {
        return file.Close();
    }
    WriteWhole(file.Get(), previousContent);
    return false;
}

// Whether this process may write the existing file: not read-only, and its
// permissions let us open it for writing.
bool MayWrite(const std::wstring& path, DWORD attributes) {
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    Handle probe(::CreateFileW(path.c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.Valid() || ::GetLastError() != ERROR_ACCESS_DENIED;
}

}  // namespace

std::string FollowSymbolicLinks(std::string path) {
    // Reads follow links by themselves; a replacement puts the file in place
    // of a link. Links to files are rare on Windows: making one takes a
    // privilege that teachers' accounts do not have.
    return path;
}

FileReadResult ReadFileContent(const std::string& path, std::string& content) {
    return ReadWholeFile(Widen(path), content);
}

bool ReplaceFileContent(const std::string& requestedPath, std::string_view content) {
    const std::wstring target = Widen(FollowSymbolicLinks(requestedPath));
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && !MayWrite(target, attributes)) {
        // A read-only file stays as it is, as the user protected it.
        return false;
    }

    TemporaryFile temporary(Split(target));
    if (!temporary.Created()) {
        return exists && FolderRefuses(temporary.CreationError()) &&
               RewriteInPlace(target, content);
    }
    if (!WriteWhole(temporary.Descriptor().Get(), content) || !temporary.Descriptor().Close()) {
        return false;
    }
    if (exists) {
        // A hidden or system file stays so.
        temporary.TakeAttributes(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    }
    const DWORD replaceError = temporary.replace(target);
    if (replaceError != 0) {
        return exists && FolderRefuses(replaceError) && RewriteInPlace(target, content);
    }
    return true;
}

}  // namespace platform
