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

    const std::string& folder() const { return m_folder; }
    std::string pathOf(const std::string& name) const { return m_folder + "/" + name; }

    // A new folder inside the test folder, open to the unprivileged user.
    std::string makeFolder(const std::string& name) const;

    // The names in a folder, sorted.
    static std::vector<std::string> namesIn(const std::string& folder);

#ifndef _WIN32
    // The user that runAsUnprivileged runs as; files it must own are given to
    // it with giveToUnprivileged.
    static uid_t unprivilegedUid();
    static gid_t unprivilegedGid();
    static void giveToUnprivileged(const std::string& path);

    // Runs the action in a child process as the unprivileged user (the test's
    // own user when it is not root) and returns the text the action returned.
    static std::string runAsUnprivileged(const std::function<std::string()>& action);
#endif

private:
    std::string m_folder;
};

#ifdef _WIN32
// A UTF-8 path as Windows' wide functions take it.
std::wstring widen(const std::string& utf8);
#endif

// The error of a file that cannot be written, as a PlatformError says it.
inline std::string cannotWrite(const std::string& path) {
    return platform::messages::cannotWriteTo(QString::fromStdString(path)).toStdString();
}

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& content);
