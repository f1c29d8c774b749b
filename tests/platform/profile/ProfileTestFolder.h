#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errors/Messages.h"

// Gives each test its own temporary folder, and (POSIX) a way to act on its
// files as a user that file permissions bind: the tests may run as root, which
// ignores permission bits. Paths are UTF-8 on every system.
class ProfileTestFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& Folder() const { return m_folder; }
    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }

    // A new folder inside the test folder, open to the unprivileged user.
    std::string MakeFolder(const std::string& name) const;

    // The names in a folder, sorted.
    static std::vector<std::string> NamesIn(const std::string& folder);

#ifndef _WIN32
    // The user that RunAsUnprivileged runs as; files it must own are given to
    // it with GiveToUnprivileged.
    static uid_t UnprivilegedUid();
    static gid_t UnprivilegedGid();
    static void GiveToUnprivileged(const std::string& path);

    // Runs the action in a child process as the unprivileged user (the test's
    // own user when it is not root) and returns the text the action returned.
    static std::string RunAsUnprivileged(const std::function<std::string()>& action);
#endif

private:
    std::string m_folder;
};

#ifdef _WIN32
// A UTF-8 path as Windows' wide functions take it.
std::wstring Widen(const std::string& utf8);
#endif

// The error of a file that cannot be written, as a PlatformError says it.
inline std::string CannotWrite(const std::string& path) {
    return platform::messages::CannotWriteTo(QString::fromStdString(path)).toStdString();
}

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& content);
