#include "ProfileTestFolder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

fs::path FromUtf8(const std::string& path) {
    return fs::path(std::u8string(path.begin(), path.end()));
}

std::string ToUtf8(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

void ProfileTestFolder::SetUp() {
    // An accented folder name, as under C:\Users\Hélène: every path of the
    // tests goes through it.
    std::random_device seed;
    const fs::path folder = fs::temp_directory_path() /
                            FromUtf8("profil-H\xC3\xA9l\xC3\xA8ne-" + std::to_string(seed()));
    ASSERT_TRUE(fs::create_directory(folder));
    m_folder = ToUtf8(folder);
}

void ProfileTestFolder::TearDown() {
    std::error_code error;
    // Read-only files would stay behind.
    for (auto it = fs::recursive_directory_iterator(FromUtf8(m_folder), error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(FromUtf8(m_folder), error);
}

std::string ProfileTestFolder::MakeFolder(const std::string& name) const {
    const std::string path = PathOf(name);
    EXPECT_TRUE(fs::create_directory(FromUtf8(path))) << path;
    return path;
}

std::vector<std::string> ProfileTestFolder::NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FromUtf8(folder))) {
        names.push_back(ToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring Widen(const std::string& utf8) {
    return FromUtf8(utf8).wstring();
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(FromUtf8(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteBytes(const std::string& path, const std::string& content) {
    std::ofstream out(FromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << path;
}
