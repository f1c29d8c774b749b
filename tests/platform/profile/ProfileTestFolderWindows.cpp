#include "ProfileTestFolder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

fs::path fromUtf8(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string toUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

void ProfileTestFolder::SetUp() {
    // An accented folder name, as under C:\Users\Hélène: every path of the
    // tests goes through it.
    std::random_device seed;
    const fs::path folder = fs::temp_directory_path() /
                            fromUtf8("profil-H\xC3\xA9l\xC3\xA8ne-" + std::to_string(seed()));
    ASSERT_TRUE(fs::create_directory(folder));
    m_folder = toUtf8(folder);
}

void ProfileTestFolder::TearDown() {
    std::error_code error;
    // Read-only files would stay behind.
    for (auto it = fs::recursive_directory_iterator(fromUtf8(m_folder), error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(fromUtf8(m_folder), error);
}

std::string ProfileTestFolder::makeFolder(const std::string& name) const {
    const std::string path = pathOf(name);
    EXPECT_TRUE(fs::create_directory(fromUtf8(path))) << path;
    return path;
}

std::vector<std::string> ProfileTestFolder::namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fromUtf8(folder))) {
        names.push_back(toUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring widen(const std::string& utf8) {
    return fromUtf8(utf8).wstring();
}

std::string readBytes(const std::string& path) {
    std::ifstream in(fromUtf8(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::string& path, const std::string& content) {
    std::ofstream out(fromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << path;
}
