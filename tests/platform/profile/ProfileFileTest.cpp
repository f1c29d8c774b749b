#include "platform/profile/ProfileFile.h"

#include "ErrorOf.h"
#include "ProfileTestFolder.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <random>

// The files (inodes) that the process flushed to the disk, in order: this
// program's fsync stands in front of the system's.
static std::vector<ino_t> flushedFiles;

extern "C" int fsync(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) == 0) {
        flushedFiles.push_back(status.st_ino);
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

using platform::ProfileFile;
using testsupport::ErrorOf;

using ProfileFileTest = ProfileTestFolder;

struct stat StatusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status;
}

// The settings of a window as a save writes them, in order.
const std::vector<std::pair<std::string, std::string>> savedSettings = {
    {"FormVersion", "0"},
    {"Flags", "0"},
    {"ShowCmd", "1"},
    {"NormPos(1920x1080)", "560,240,1360,840"},
    {"spMaxLigne_Value", "20"},
    {"eTitre1_Text", "Conversions de longueurs"},
    {"Combo1_Text", "Convertir en "},
    {"CheckBox1_Checked", "True"},
};

TEST_F(ProfileFileTest, ANewFileHoldsItsSectionsAndKeysInWritingOrderWithCrlf) {
    ProfileFile file(PathOf("fiches.ini"));
    file.WriteString("TForm1", "FormVersion", "0");
    file.WriteString("TForm1.Combo1_Items", "Count", "1");
    file.WriteString("TForm1", "Flags", "0");
    file.WriteString("TForm1.Combo1_Items", "Item0", "Convertir en ");
    EXPECT_EQ(ReadBytes(file.Path()),
              "[TForm1]\r\nFormVersion=0\r\nFlags=0\r\n"
              "[TForm1.Combo1_Items]\r\nCount=1\r\nItem0=Convertir en \r\n");
    EXPECT_EQ(file.ReadString("TForm1.Combo1_Items", "Item0", ""), "Convertir en");
}

TEST_F(ProfileFileTest, AFileWrittenByTheProgramAndEditedByHandReadsBackTheSameValues) {
    const std::string path = PathOf("fiches.ini");
    {
        ProfileFile file(path);
        for (const auto& [key, value] : savedSettings) {
            file.WriteString("TForm1", key, value);
        }
    }
    const std::string written = ReadBytes(path);
    const auto replaceAll = [](std::string text, const std::string& from, const std::string& to) {
        for (std::size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
        return text;
    };
    const struct {
        const char* edit;
        std::string content;
    } edits[] = {
        {"as written", written},
        {"LF line ends", replaceAll(written, "\r\n", "\n")},
        {"blank lines", replaceAll(written, "\r\n", "\r\n\r\n\n")},
        {"spaces around =", replaceAll(written, "=", " \t = ")},
        {"indented lines", replaceAll(written, "\r\n", "\r\n    ")},
        {"other letter case",
         replaceAll(replaceAll(written, "TForm1", "TFORM1"), "spMaxLigne", "SPMAXLIGNE")},
        {"comments and a section before",
         "; edited by hand\r\n[Other]\r\nFormVersion=5\r\n\r\n" + written},
    };
    for (const auto& e : edits) {
        WriteBytes(path, e.content);
        ProfileFile file(path);
        for (const auto& [key, value] : savedSettings) {
            const std::string expected = key == "Combo1_Text" ? "Convertir en" : value;
            EXPECT_EQ(file.ReadString("tform1", key, "<default>"), expected)
                << e.edit << ", key " << key;
        }
    }
}

TEST_F(ProfileFileTest, RewritingAKeyLeavesEveryOtherLineOfAHandEditedFileAsItWas) {
    const std::string path = PathOf("fiches.ini");
    WriteBytes(path,
               "; r\xE9glages\n[TForm1]\n  SpMaxLigne_Value = 12 \nFlags=0\n\n"
               "[TForm1.Combo1_Items]\nCount=0\n");
    ProfileFile file(path);
    file.WriteString("TForm1", "spMaxLigne_Value", "30");
    file.WriteString("TForm1", "ckbEdite_Checked", "True");
    file.EraseSection("tform1.combo1_items");
    EXPECT_EQ(ReadBytes(path),
              "; r\xE9glages\n[TForm1]\nSpMaxLigne_Value=30\r\nFlags=0\n"
              "ckbEdite_Checked=True\r\n\n");
}

TEST_F(ProfileFileTest, QuotedValuesKeepTheirInnerQuotesAndBlanks) {
    ProfileFile file(PathOf("fiches.ini"));
    const struct {
        const char* written;
        const char* read;
    } cases[] = {
        {"\"\"Titre\"\"", "\"Titre\""},
        {"\"  padded  \"", "  padded  "},
        {"'single'", "single"},
        {"  \"half", "\"half"},
        {"\xAB guillemets \xBB", "\xAB guillemets \xBB"},
    };
    for (const auto& c : cases) {
        file.WriteString("TForm1", "eTitre1_Text", c.written);
        EXPECT_EQ(file.ReadString("TForm1", "eTitre1_Text", ""), c.read) << c.written;
    }
}

TEST_F(ProfileFileTest, MissingOrUnreadableFilesGiveTheDefaults) {
    const std::string folderPath = MakeFolder("sub");
    const std::string paths[] = {PathOf("none.ini"), PathOf("nofolder/fiches.ini"), folderPath};
    for (const auto& path : paths) {
        EXPECT_EQ(ProfileFile(path).ReadString("TForm1", "Flags", "<default>"), "<default>")
            << path;
    }
    ProfileFile(PathOf("none.ini")).EraseSection("TForm1");
    EXPECT_EQ(NamesIn(Folder()), std::vector<std::string>{"sub"});
}

TEST_F(ProfileFileTest, GarbageFilesGiveDefaultsAndStayBehindTheNewValues) {
    std::mt19937 random(7);
    std::string binary(1 << 20, '\0');
    for (char& c : binary) {
        c = static_cast<char>(random());
    }
    const std::string hugeValue = "[TForm1]\r\neTitre1_Text=" + std::string(100000, 'T') + "\r\n";
    const std::string path = PathOf("fiches.ini");
    for (const std::string& content : {binary, std::string(1 << 20, '\0'), hugeValue}) {
        WriteBytes(path, content);
        ProfileFile file(path);
        EXPECT_EQ(file.ReadString("TForm1", "spMaxLigne_Value", "20"), "20");
        file.WriteString("TForm1", "spMaxLigne_Value", "12");
        EXPECT_EQ(file.ReadString("TForm1", "spMaxLigne_Value", "20"), "12");
        EXPECT_EQ(ReadBytes(path).compare(0, content.size(), content), 0);
    }
    EXPECT_EQ(ProfileFile(path).ReadString("TForm1", "eTitre1_Text", ""), std::string(2047, 'T'));
}

TEST_F(ProfileFileTest, ValuesThatWouldBreakTheLineAreRefusedAndTheFileUntouched) {
    const std::string path = PathOf("fiches.ini");
    WriteBytes(path, "[TForm1]\r\neTitre1_Text=x\r\n");
    ProfileFile file(path);
    using namespace std::string_literals;
    const std::string values[] = {"a\r\nFlags=3", "a\nb", "a\0b"s};
    for (const auto& value : values) {
        EXPECT_EQ(ErrorOf([&] { file.WriteString("TForm1", "eTitre1_Text", value); }),
                  CannotWrite(path));
    }
    EXPECT_EQ(ErrorOf([&] { file.WriteString("TForm1", "a=b", "1"); }), CannotWrite(path));
    EXPECT_EQ(ReadBytes(path), "[TForm1]\r\neTitre1_Text=x\r\n");
}

TEST_F(ProfileFileTest, AFileThatCannotBeCreatedRaisesTheErrorWithItsFullPath) {
    const std::string path = PathOf("nofolder/fiches.ini");
    EXPECT_EQ(ErrorOf([&] { ProfileFile(path).WriteString("TForm1", "Flags", "0"); }),
              CannotWrite(path));

    const std::string relative = "fiches-relative.ini";
    EXPECT_EQ(ProfileFile(relative).Path(),
              std::filesystem::current_path().string() + "/" + relative);
}

TEST_F(ProfileFileTest, WritesGoThroughSymbolicLinksWhichSurvive) {
    const std::string store = MakeFolder("store");
    WriteBytes(store + "/real.ini", "[TForm1]\r\nFlags=0\r\n");
    ASSERT_EQ(::symlink((store + "/real.ini").c_str(), PathOf("absolute.ini").c_str()), 0);
    ASSERT_EQ(::symlink("store/real.ini", PathOf("relative.ini").c_str()), 0);
    ASSERT_EQ(::symlink("relative.ini", PathOf("chained.ini").c_str()), 0);
    ASSERT_EQ(::symlink("store/new.ini", PathOf("dangling.ini").c_str()), 0);

    int flags = 1;
    for (const char* link : {"absolute.ini", "relative.ini", "chained.ini"}) {
        ProfileFile file(PathOf(link));
        file.WriteString("TForm1", "Flags", std::to_string(flags));
        EXPECT_TRUE(S_ISLNK(StatusOf(PathOf(link)).st_mode)) << link;
        EXPECT_EQ(ReadBytes(store + "/real.ini"),
                  "[TForm1]\r\nFlags=" + std::to_string(flags) + "\r\n")
            << link;
        EXPECT_EQ(file.ReadString("TForm1", "Flags", ""), std::to_string(flags)) << link;
        ++flags;
    }
    ProfileFile(PathOf("dangling.ini")).WriteString("TForm1", "Flags", "0");
    EXPECT_TRUE(S_ISLNK(StatusOf(PathOf("dangling.ini")).st_mode));
    EXPECT_EQ(ReadBytes(store + "/new.ini"), "[TForm1]\r\nFlags=0\r\n");
    EXPECT_EQ(NamesIn(store), (std::vector<std::string>{"new.ini", "real.ini"}));
}

TEST_F(ProfileFileTest, AReplacedFileKeepsItsPermissionsAndLeavesNoTemporaryFile) {
    const std::string path = PathOf("fiches.ini");
    WriteBytes(path, "[TForm1]\r\nFlags=0\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const ino_t before = StatusOf(path).st_ino;
    flushedFiles.clear();
    ProfileFile(path).WriteString("TForm1", "Flags", "2");
    const struct stat after = StatusOf(path);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_NE(after.st_ino, before) << "expected a new file renamed over the old one";
    // The new file, then the folder that the rename changed, reach the disk.
    EXPECT_EQ(flushedFiles, (std::vector{after.st_ino, StatusOf(Folder()).st_ino}));
    EXPECT_EQ(NamesIn(Folder()), std::vector<std::string>{"fiches.ini"});
}

// The cases where permissions decide, acted out by a user they bind.
struct PermissionCase {
    const char* situation;
    mode_t folderMode;
    mode_t fileMode;
    bool written;
};

void PrintTo(const PermissionCase& c, std::ostream* out) {
    *out << c.situation;
}

class ProfilePermissionTest : public ProfileTestFolder,
                              public ::testing::WithParamInterface<PermissionCase> {};

TEST_P(ProfilePermissionTest, AFileIsWrittenOnlyWhenItMayBeAndIsOtherwiseUntouched) {
    const PermissionCase& c = GetParam();
    const std::string settings = MakeFolder("settings");
    const std::string path = settings + "/fiches.ini";
    const std::string before = "[TForm1]\r\nFlags=0\r\n";
    WriteBytes(path, before);
    GiveToUnprivileged(path);
    GiveToUnprivileged(settings);
    ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
    ASSERT_EQ(::chmod(settings.c_str(), c.folderMode), 0);
    const struct stat old = StatusOf(path);

    const std::string outcome = RunAsUnprivileged([&] {
        const std::string error =
            ErrorOf([&] { ProfileFile(path).WriteString("TForm1", "Flags", "2"); });
        return error.empty() ? "written" : error;
    });

    ASSERT_EQ(::chmod(settings.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    if (c.written) {
        EXPECT_EQ(outcome, "written");
        EXPECT_EQ(ReadBytes(path), "[TForm1]\r\nFlags=2\r\n");
    } else {
        EXPECT_EQ(outcome, CannotWrite(path));
        EXPECT_EQ(ReadBytes(path), before);
        const struct stat now = StatusOf(path);
        EXPECT_EQ(now.st_ino, old.st_ino);
        EXPECT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec);
        EXPECT_EQ(now.st_mtim.tv_nsec, old.st_mtim.tv_nsec);
    }
    if (c.folderMode == 0555 && c.written) {
        EXPECT_EQ(StatusOf(path).st_ino, old.st_ino) << "expected the file rewritten in place";
    }
    EXPECT_EQ(NamesIn(settings), std::vector<std::string>{"fiches.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Permissions, ProfilePermissionTest,
    ::testing::Values(PermissionCase{"ReadOnlyFileInReadOnlyFolder", 0555, 0444, false},
                      PermissionCase{"WritableFileInReadOnlyFolder", 0555, 0644, true},
                      PermissionCase{"ReadOnlyFileInWritableFolder", 0755, 0444, false},
                      PermissionCase{"WriteOnlyFileInWritableFolder", 0755, 0200, false},
                      PermissionCase{"WritableFileInWritableFolder", 0755, 0644, true}),
    [](const auto& info) { return std::string(info.param.situation); });

TEST_F(ProfileFileTest, StoringTheValueAlreadyThereInAReadOnlyFileIsNoError) {
    const std::string settings = MakeFolder("settings");
    const std::string path = settings + "/fiches.ini";
    WriteBytes(path, "[TForm1]\r\nFlags=0\r\n");
    GiveToUnprivileged(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(settings.c_str(), 0555), 0);
    EXPECT_EQ(RunAsUnprivileged([&] {
                  ProfileFile file(path);
                  return ErrorOf([&] { file.WriteString("tform1", "FLAGS", "0"); }) +
                         ErrorOf([&] { file.EraseSection("TForm1.Combo1_Items"); });
              }),
              "");
    ASSERT_EQ(::chmod(settings.c_str(), 0755), 0);
}

// A full disk stands for any write that stops half way: a file size limit in
// the writing process makes every write past it fail.
TEST_F(ProfileFileTest, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    const std::string before = "[TForm1]\r\nFlags=0\r\n";
    for (const mode_t folderMode : {0755, 0555}) {
        const std::string settings = MakeFolder("settings" + std::to_string(folderMode));
        const std::string path = settings + "/fiches.ini";
        WriteBytes(path, before);
        GiveToUnprivileged(path);
        GiveToUnprivileged(settings);
        ASSERT_EQ(::chmod(settings.c_str(), folderMode), 0);

        const std::string outcome = RunAsUnprivileged([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {64, 64};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return ErrorOf([&] {
                ProfileFile(path).WriteString("TForm1", "eTitre1_Text", std::string(200, 'x'));
            });
        });

        ASSERT_EQ(::chmod(settings.c_str(), 0755), 0);
        EXPECT_EQ(outcome, CannotWrite(path)) << "folder mode " << folderMode;
        EXPECT_EQ(ReadBytes(path), before) << "folder mode " << folderMode;
        EXPECT_EQ(NamesIn(settings), std::vector<std::string>{"fiches.ini"});
    }
}

}  // namespace
