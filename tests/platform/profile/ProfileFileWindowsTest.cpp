#include <windows.h>

#include <algorithm>

#include "ErrorOf.h"
#include "ProfileTestFolder.h"
#include "platform/profile/ProfileFile.h"

namespace {

using platform::ProfileFile;
using testsupport::errorOf;
using ProfileFileTest = ProfileTestFolder;

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(widen(path).c_str());
}

std::string backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

TEST_F(ProfileFileTest, AccentedFoldersAndNamesAreWrittenAndReadWithWindowsSeparators) {
    const std::string folderPath = makeFolder(
        "R\xC3\xA9glages \xC3\xA0 l'\xC3\xA9"
        "cole");
    for (const std::string& path :
         {folderPath + "/fiches-conversions.ini", backslashed(folderPath + "/f\xC3\xAE"
                                                                           "che.ini")}) {
        ProfileFile file(path);
        file.writeString("TForm1", "eTitre1_Text", "Conversions");
        EXPECT_EQ(readBytes(path), "[TForm1]\r\neTitre1_Text=Conversions\r\n") << path;
        EXPECT_EQ(ProfileFile(path).readString("TForm1", "eTitre1_Text", ""), "Conversions");
    }
    EXPECT_EQ(namesIn(folderPath), (std::vector<std::string>{"fiches-conversions.ini",
                                                             "f\xC3\xAE"
                                                             "che.ini"}));
}

TEST_F(ProfileFileTest, AReplacedFileKeepsItsAttributesAndLeavesNoTemporaryFile) {
    const std::string path = pathOf("fiches.ini");
    writeBytes(path, "; r\xE9glages\r\n[TForm1]\r\nFlags=0\r\n");
    ASSERT_TRUE(::SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ProfileFile file(path);
    for (const char* value : {"2", "12345678901234567890", "3"}) {
        file.writeString("TForm1", "Flags", value);
        EXPECT_EQ(readBytes(path),
                  std::string("; r\xE9glages\r\n[TForm1]\r\nFlags=") + value + "\r\n");
    }
    EXPECT_NE(attributesOf(path) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"fiches.ini"});
}

TEST_F(ProfileFileTest, AFileThatMayNotBeWrittenIsReportedWithItsFullPathAndLeftAsItWas) {
    const std::string before = "[TForm1]\r\nFlags=0\r\n";
    const std::string readOnly = pathOf("lecture seule.ini");
    writeBytes(readOnly, before);
    ASSERT_TRUE(::SetFileAttributesW(widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(errorOf([&] { ProfileFile(readOnly).writeString("TForm1", "Flags", "2"); }),
              cannotWrite(backslashed(readOnly)));
    // The value already there needs no write.
    EXPECT_EQ(errorOf([&] { ProfileFile(readOnly).writeString("tform1", "FLAGS", "0"); }), "");
    EXPECT_EQ(readBytes(readOnly), before);
    EXPECT_NE(attributesOf(readOnly) & FILE_ATTRIBUTE_READONLY, 0u);

    // Held open by another program that shares it with no writer.
    const std::string held = pathOf("ouvert.ini");
    writeBytes(held, before);
    const HANDLE other = ::CreateFileW(widen(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(errorOf([&] { ProfileFile(held).writeString("TForm1", "Flags", "2"); }),
              cannotWrite(backslashed(held)));
    ::CloseHandle(other);
    EXPECT_EQ(readBytes(held), before);

    const std::string noFolder = pathOf("dossier absent/fiches.ini");
    EXPECT_EQ(errorOf([&] { ProfileFile(noFolder).writeString("TForm1", "Flags", "0"); }),
              cannotWrite(backslashed(noFolder)));
    EXPECT_EQ(namesIn(folder()), (std::vector<std::string>{"lecture seule.ini", "ouvert.ini"}));
}

}  // namespace
