#include "platform/profile/ProfileSession.h"

#include "ErrorOf.h"
#include "ProfileTestFolder.h"
#include "platform/profile/ProfileFile.h"

#include <string>

namespace {

using platform::ProfileFile;
using platform::ProfileSession;
using testsupport::ErrorOf;

using ProfileSessionTest = ProfileTestFolder;

const std::string cannotWriteIn = "Impossible d'\u00e9crire dans ";

// A hand-edited file, and a save's edits of it: a key rewritten in place, new
// keys, a list section erased and written again, a new section.
const std::string handEdited =
    "; r\xE9glages\n[TForm1.Combo1_Items]\nCount=2\nItem0=a\nItem1=b\n\n"
    "[tform1]\n  SpMaxLigne_Value = 12 \nFlags=0\n\n[Autre]\nx=1\n";

template <class File>
void SaveInto(File& file) {
    file.WriteString("TForm1", "FormVersion", "0");
    file.WriteString("TForm1", "spMaxLigne_Value", "30");
    file.WriteString("TForm1", "Combo1_Text", "Convertir en");
    file.EraseSection("TForm1.Combo1_Items");
    file.WriteString("TForm1.Combo1_Items", "Count", "1");
    file.WriteString("TForm1.Combo1_Items", "Item0", "Convertir en ");
    file.WriteString("Nouvelle", "cl\xE9", "\xE9t\xE9");
}

TEST_F(ProfileSessionTest, OneCommitWritesWhatTheSameEditsMadeOneCallAtATimeWrite) {
    const std::string oneByOne = PathOf("un-par-un.ini");
    const std::string batched = PathOf("ensemble.ini");
    WriteBytes(oneByOne, handEdited);
    WriteBytes(batched, handEdited);
    ProfileFile file(oneByOne);
    SaveInto(file);

    ProfileSession session{ProfileFile(batched)};
    EXPECT_EQ(session.ReadString("TForm1", "spMaxLigne_Value", ""), "12");
    SaveInto(session);
    EXPECT_EQ(session.ReadString("TForm1.Combo1_Items", "Item0", ""), "Convertir en");
    // Nothing reaches the file before the commit.
    EXPECT_EQ(ReadBytes(batched), handEdited);
    session.Commit();
    EXPECT_EQ(ReadBytes(batched), ReadBytes(oneByOne));
    EXPECT_NE(ReadBytes(batched), handEdited);
    // A second commit, with no edit since the first, writes nothing.
    WriteBytes(batched, handEdited);
    session.Commit();
    EXPECT_EQ(ReadBytes(batched), handEdited);
}

TEST_F(ProfileSessionTest, AValueTheFileCannotKeepStopsTheEditsButThoseBeforeItAreCommitted) {
    const std::string path = PathOf("fiches.ini");
    ProfileSession session{ProfileFile(path)};
    session.WriteString("TForm1.Combo1_Items", "Count", "2");
    EXPECT_EQ(ErrorOf([&] { session.WriteString("TForm1.Combo1_Items", "Item0", "deux\nlignes"); }),
              cannotWriteIn + ProfileFile(path).Path());
    session.Commit();
    EXPECT_EQ(ReadBytes(path), "[TForm1.Combo1_Items]\r\nCount=2\r\n");
}

TEST_F(ProfileSessionTest, SomethingThatIsNoFileReadsAsDefaultsAndIsNeverWrittenOver) {
    const std::string path = MakeFolder("dossier.ini");
    ProfileSession session{ProfileFile(path)};
    EXPECT_EQ(session.ReadString("TForm1", "Flags", "<default>"), "<default>");
    session.WriteString("TForm1", "Flags", "0");
    EXPECT_EQ(ErrorOf([&] { session.Commit(); }), cannotWriteIn + ProfileFile(path).Path());
    EXPECT_TRUE(NamesIn(path).empty());
}

}  // namespace
