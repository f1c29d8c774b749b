#include <windows.h>

#include <algorithm>

#include "ErrorOf.h"
#include "ProfileTestFolder.h"
#include "platform/profile/ProfileFile.h"

namespace {

using platform::ProfileFile;
using testsupport::ErrorOf;
using ProfileFileTest = ProfileTestFolder;

DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str());
}

std::string Backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

TEST_F(ProfileFileTest, AccentedFoldersAndNamesAreWrittenAndReadWithWindowsSeparators) {
    const std::string folderPath = MakeFolder(
        "R\xC3\xA9glages \xC3\xA0 l'\xC3\xA9"
        "cole");
    for (const std::string& path :
         {folderPath + "/fiches-conversions.ini", Backslashed(folderPath + "/f\xC3\xAE"
                                                                           "che.ini")}) {
        ProfileFile file(path);
        file.WriteString("TForm1", "eTitre1_Text", "Conversions");
        EXPECT_EQ(ReadBytes(path), "[TForm1]\r\neTitre1_Text=Conversions\r\n") << path;
        EXPECT_EQ(ProfileFile(path).ReadString("TForm1", "eTitre1_Text", ""), "Conversions");
    }
    EXPECT_EQ(NamesIn(folderPath), (std::vector<std::string>{"fiches-conversions.ini",
                                                             "f\xC3\xAE"
                                                             "che.ini"}));
}

TEST_F(ProfileFileTest, AReplacedFileKeepsItsAttributesAndLeavesNoTemporaryFile) {
    const std::string path = PathOf("fiches.ini");
    WriteBytes(path, "; r\xE9glages\r\n[TForm1]\r\nFlags=0\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ProfileFile file(path);
    for (const char* value : {"2", "12345678901234567890", "3"}) {
        file.WriteString("TForm1", "Flags", value);
        EXPECT_EQ(ReadBytes(path),
                  std::string("; r\xE9glages\r\n[TForm1]\r\nFlags=") + value + "\r\n");
    }
    EXPECT_NE(AttributesOf(path) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(NamesIn(Folder()), std::vector<std::string>{"fiches.ini"});
}

TEST_F(ProfileFileTest, AFileThatMayNotBeWrittenIsReportedWithItsFullPathAndLeftAsItWas) {
    const std::string before = "[TForm1]\r\nFlags=0\r\n";
    const std::string readOnly = PathOf("lecture seule.ini");
    WriteBytes(readOnly, before);
    ASSERT_TRUE(::SetFileAttributesW(Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ErrorOf([&] { ProfileFile(readOnly).WriteString("TForm1", "Flags", "2"); }),
              CannotWrite(Backslashed(readOnly)));
    // The value already there needs no write.
    EXPECT_EQ(ErrorOf([&] { ProfileFile(readOnly).WriteString("tform1", "FLAGS", "0"); }), "");
    EXPECT_EQ(ReadBytes(readOnly), before);
    EXPECT_NE(AttributesOf(readOnly) & FILE_ATTRIBUTE_READONLY, 0u);

    // Held open by another program that shares it with no writer.
    const std::string held = PathOf("ouvert.ini");
    WriteBytes(held, before);
    const HANDLE other = ::CreateFileW(Widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ErrorOf([&] { ProfileFile(held).WriteString("TForm1", "Flags", "2"); }),
              CannotWrite(Backslashed(held)));
    ::CloseHandle(other);
    EXPECT_EQ(ReadBytes(held), before);

    const std::string noFolder = PathOf("dossier absent/fiches.ini");
    EXPECT_EQ(ErrorOf([&] { ProfileFile(noFolder).WriteString("TForm1", "Flags", "0"); }),
              CannotWrite(Backslashed(noFolder)));
    EXPECT_EQ(NamesIn(Folder()), (std::vector<std::string>{"lecture seule.ini", "ouvert.ini"}));
}

}  // namespace
