#include "platform/profile/ProfileSession.h"

#include "ErrorOf.h"
#include "ProfileTestFolder.h"
#include "platform/profile/ProfileFile.h"

#include <string>

namespace {

using platform::ProfileFile;
using platform::ProfileSession;
using testsupport::errorOf;

using ProfileSessionTest = ProfileTestFolder;

const std::string cannotWriteIn = "Impossible d'\u00e9crire dans ";

// A hand-edited file, and a save's edits of it: a key rewritten in place, new
// keys, a list section erased and written again, a new section.
const std::string handEdited =
    "; r\xE9glages\n[TForm1.Combo1_Items]\nCount=2\nItem0=a\nItem1=b\n\n"
    "[tform1]\n  SpMaxLigne_Value = 12 \nFlags=0\n\n[Autre]\nx=1\n";

template <class File>
void saveInto(File& file) {
    file.writeString("TForm1", "FormVersion", "0");
    file.writeString("TForm1", "spMaxLigne_Value", "30");
    file.writeString("TForm1", "Combo1_Text", "Convertir en");
    file.eraseSection("TForm1.Combo1_Items");
    file.writeString("TForm1.Combo1_Items", "Count", "1");
    file.writeString("TForm1.Combo1_Items", "Item0", "Convertir en ");
    file.writeString("Nouvelle", "cl\xE9", "\xE9t\xE9");
}

TEST_F(ProfileSessionTest, OneCommitWritesWhatTheSameEditsMadeOneCallAtATimeWrite) {
    const std::string oneByOne = pathOf("un-par-un.ini");
    const std::string batched = pathOf("ensemble.ini");
    writeBytes(oneByOne, handEdited);
    writeBytes(batched, handEdited);
    ProfileFile file(oneByOne);
    saveInto(file);

    ProfileSession session{ProfileFile(batched)};
    EXPECT_EQ(session.readString("TForm1", "spMaxLigne_Value", ""), "12");
    saveInto(session);
    EXPECT_EQ(session.readString("TForm1.Combo1_Items", "Item0", ""), "Convertir en");
    // Nothing reaches the file before the commit.
    EXPECT_EQ(readBytes(batched), handEdited);
    session.commit();
    EXPECT_EQ(readBytes(batched), readBytes(oneByOne));
    EXPECT_NE(readBytes(batched), handEdited);
    // A second commit, with no edit since the first, writes nothing.
    writeBytes(batched, handEdited);
    session.commit();
    EXPECT_EQ(readBytes(batched), handEdited);
}

TEST_F(ProfileSessionTest, AValueTheFileCannotKeepStopsTheEditsButThoseBeforeItAreCommitted) {
    const std::string path = pathOf("fiches.ini");
    ProfileSession session{ProfileFile(path)};
    session.writeString("TForm1.Combo1_Items", "Count", "2");
    EXPECT_EQ(errorOf([&] { session.writeString("TForm1.Combo1_Items", "Item0", "deux\nlignes"); }),
              cannotWriteIn + ProfileFile(path).path());
    session.commit();
    EXPECT_EQ(readBytes(path), "[TForm1.Combo1_Items]\r\nCount=2\r\n");
}

TEST_F(ProfileSessionTest, SomethingThatIsNoFileReadsAsDefaultsAndIsNeverWrittenOver) {
    const std::string path = makeFolder("dossier.ini");
    ProfileSession session{ProfileFile(path)};
    EXPECT_EQ(session.readString("TForm1", "Flags", "<default>"), "<default>");
    session.writeString("TForm1", "Flags", "0");
    EXPECT_EQ(errorOf([&] { session.commit(); }), cannotWriteIn + ProfileFile(path).path());
    EXPECT_TRUE(namesIn(path).empty());
}

}  // namespace
