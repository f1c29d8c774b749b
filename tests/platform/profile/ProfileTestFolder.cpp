#include "ProfileTestFolder.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The conventional "nobody" user and group.
constexpr uid_t nobody = 65534;

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace

void ProfileTestFolder::SetUp() {
    std::string pattern = ::testing::TempDir() + "profile-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    // The unprivileged user must reach the files inside.
    ASSERT_EQ(::chmod(m_folder.c_str(), 0755), 0);
}

void ProfileTestFolder::TearDown() {
    namespace fs = std::filesystem;
    std::error_code error;
    // Folders made read-only by a test must be opened again to be emptied.
    for (auto it = fs::recursive_directory_iterator(m_folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_folder, error);
}

std::string ProfileTestFolder::MakeFolder(const std::string& name) const {
    const std::string path = PathOf(name);
    EXPECT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_EQ(::chmod(path.c_str(), 0755), 0);
    return path;
}

std::vector<std::string> ProfileTestFolder::NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

uid_t ProfileTestFolder::UnprivilegedUid() {
    return RunningAsRoot() ? nobody : ::geteuid();
}

gid_t ProfileTestFolder::UnprivilegedGid() {
    return RunningAsRoot() ? nobody : ::getegid();
}

void ProfileTestFolder::GiveToUnprivileged(const std::string& path) {
    ASSERT_EQ(::lchown(path.c_str(), UnprivilegedUid(), UnprivilegedGid()), 0) << path;
}

std::string ProfileTestFolder::RunAsUnprivileged(const std::function<std::string()>& action) {
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        int status = 0;
        if (RunningAsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
            status = 2;
        } else {
            const std::string answer = action();
            if (::write(channel[1], answer.data(), answer.size()) !=
                static_cast<ssize_t>(answer.size())) {
                status = 3;
            }
        }
        ::_exit(status);  // no test framework or leak report in the child
    }
    ::close(channel[1]);
    std::string answer;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return answer;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteBytes(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << path;
}
