#include "platform/richedit/TRxRichEdit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "TextDocumentProbe.h"
#include "platform/errors/PlatformError.h"

namespace {

using platform::PlatformError;
using platform::TRxRichEdit;
using testsupport::Cp1252;
using testsupport::ErrorOf;
using testsupport::LoadStream;
using testsupport::ShownCharacters;
using testsupport::ShownText;

std::string ReadFile(const QString& name) {
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

class PaneTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return QDir(m_folder.path()).filePath(name); }

    QTemporaryDir m_folder;
    TRxRichEdit m_pane;
};

TEST_F(PaneTest, LoadsRtfAndFallsBackToPlainTextWhenTheStreamIsNotRtf) {
    LoadStream(m_pane, "{\\rtf1 \\b gras\\b0  \\'e9t\\'e9}");
    EXPECT_EQ(ShownText(*m_pane.document()), Cp1252("gras été"));
    EXPECT_TRUE(ShownCharacters(*m_pane.document()).at(0).bold);

    LoadStream(m_pane, Cp1252("pas du RTF {\\b}\r\nété\rfin\n"));
    EXPECT_EQ(ShownText(*m_pane.document()), Cp1252("pas du RTF {\\b}\nété\nfin\n"));

    m_pane.SetRichTextMode(false);  // RTF read as text in plain-text mode
    LoadStream(m_pane, "{\\rtf1 x}");
    EXPECT_EQ(ShownText(*m_pane.document()), "{\\rtf1 x}");
}

TEST_F(PaneTest, AStreamThatCannotBeReadRaisesTheLoadError) {
    QBuffer closed;
    EXPECT_EQ(ErrorOf([&] { m_pane.LoadFromStream(closed); }), "Erreur au chargement du flux");
}

TEST_F(PaneTest, InSelectionModeALoadReplacesOnlyTheSelectionAndPutsTheCaretAtTheStart) {
    LoadStream(m_pane, "{\\rtf1 avant milieu apr\\'e8s}");
    QTextCursor cursor = m_pane.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    m_pane.setTextCursor(cursor);
    m_pane.SetStreamMode(TRxRichEdit::StreamMode::Selection);
    LoadStream(m_pane, "{\\rtf1 \\i centre}");
    EXPECT_EQ(ShownText(*m_pane.document()), Cp1252("avant centre après"));
    EXPECT_TRUE(ShownCharacters(*m_pane.document()).at(6).italic);
    EXPECT_EQ(m_pane.textCursor().position(), 0);
    EXPECT_FALSE(m_pane.textCursor().hasSelection());

    m_pane.SetStreamMode(TRxRichEdit::StreamMode::WholeContent);
    LoadStream(m_pane, "{\\rtf1 tout}");
    EXPECT_EQ(ShownText(*m_pane.document()), "tout");
}

TEST_F(PaneTest, EmptyingRemovesEverythingClearsTheModifiedFlagAndSignalsTheChange) {
    LoadStream(m_pane, "{\\rtf1 a\\par b}");
    m_pane.document()->setModified(true);
    int changes = 0;
    QObject::connect(&m_pane, &QTextEdit::textChanged, [&] { ++changes; });
    m_pane.ClearContent();
    EXPECT_EQ(m_pane.TextLength(), 0);
    EXPECT_FALSE(m_pane.document()->isModified());
    EXPECT_GE(changes, 1);

    changes = 0;
    LoadStream(m_pane, "{\\rtf1 c}");
    EXPECT_GE(changes, 1);
}

TEST_F(PaneTest, PlainTextAndLineCountIgnoreAnEmptyLastLine) {
    struct Case {
        std::string rtf;
        QString plain;
        int lines;
    };
    const Case cases[] = {
        {"{\\rtf1 }", "", 0},
        {"{\\rtf1      }", "     ", 1},
        {"{\\rtf1 a}", "a", 1},
        {"{\\rtf1 a\\par}", "a\r\n", 1},
        {"{\\rtf1 a\\par b}", "a\r\nb", 2},
        {"{\\rtf1 \\par}", "\r\n", 1},
        {"{\\rtf1 a\\par\\par\\par}", "a\r\n\r\n\r\n", 3},
        {"{\\rtf1 a\\line b}", "a\r\nb", 2},
    };
    for (const Case& c : cases) {
        LoadStream(m_pane, c.rtf);
        EXPECT_EQ(m_pane.PlainText(), c.plain) << c.rtf;
        EXPECT_EQ(m_pane.LineCount(), c.lines) << c.rtf;
    }
}

TEST_F(PaneTest, SavesRtfOrPlainTextByTheFileNamesExtension) {
    LoadStream(m_pane,
               Cp1252("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b Sujet\\b0\\par 5 \\'80 \\u937?}"));
    struct Case {
        const char* name;
        bool plain;
    };
    const Case cases[] = {
        {"sujet.rtf", false}, {"sujet.RTF", false}, {"sujet.doc", false}, {"sujet", false},
        {"sujet.txt", true},  {"sujet.TxT", true},  {"a.txt.rtf", false},
    };
    for (const Case& c : cases) {
        m_pane.SaveToFile(Path(c.name));
        const std::string written = ReadFile(Path(c.name));
        if (c.plain) {
            EXPECT_EQ(written, "Sujet\r\n5 \x80 ?") << c.name;
        } else {
            EXPECT_TRUE(written.starts_with("{\\rtf1\\ansi\\ansicpg1252")) << c.name;
            TRxRichEdit again;
            LoadStream(again, written);
            EXPECT_EQ(ShownCharacters(*again.document()), ShownCharacters(*m_pane.document()))
                << c.name;
        }
    }
}

TEST_F(PaneTest, AnEmptyPaneIsStillSavedAsAnRtfFileWithNoText) {
    m_pane.ClearContent();
    m_pane.SaveToFile(Path("vide_Cor.rtf"));
    const std::string written = ReadFile(Path("vide_Cor.rtf"));
    EXPECT_TRUE(written.starts_with("{\\rtf1")) << written;
    TRxRichEdit again;
    LoadStream(again, "{\\rtf1 avant}");
    LoadStream(again, written);
    EXPECT_EQ(again.TextLength(), 0);
}

TEST_F(PaneTest, SavingWritesTheSelectionInSelectionMode) {
    LoadStream(m_pane, "{\\rtf1 un deux trois}");
    m_pane.SetStreamMode(TRxRichEdit::StreamMode::Selection);
    QTextCursor cursor = m_pane.textCursor();
    cursor.setPosition(3);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    m_pane.setTextCursor(cursor);
    m_pane.SaveToFile(Path("part.txt"));
    EXPECT_EQ(ReadFile(Path("part.txt")), "deux");
    m_pane.selectAll();
    m_pane.SaveToFile(Path("all.txt"));
    EXPECT_EQ(ReadFile(Path("all.txt")), "un deux trois");
}

TEST_F(PaneTest, AFileThatCannotBeCreatedRaisesAnErrorNamingItInFull) {
    LoadStream(m_pane, "{\\rtf1 x}");
    const QString missingFolder = Path("absent/sujet.rtf");
    EXPECT_EQ(
        ErrorOf([&] { m_pane.SaveToFile(missingFolder); }),
        "Impossible de créer le fichier " + QDir::toNativeSeparators(missingFolder).toStdString());
    EXPECT_THROW(m_pane.SaveToFile(m_folder.path()), PlatformError);  // a folder, not a file
}

#if !defined(_WIN32)
// (Qt makes shortcuts, not symbolic links, on Windows.)
TEST_F(PaneTest, SavingOverAWorksheetKeepsItsLinkAndPermissionsAndLeavesNoOtherFile) {
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("classe"));
    const QString real = Path("classe/fiche.rtf");
    {
        QFile old(real);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("{\\rtf1 ancienne}");
    }
    const QFile::Permissions kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(real, kept));
    ASSERT_TRUE(QFile::link(real, Path("lien.rtf")));

    LoadStream(m_pane, "{\\rtf1 nouvelle}");
    m_pane.SaveToFile(Path("lien.rtf"));
    EXPECT_TRUE(QFileInfo(Path("lien.rtf")).isSymLink());
    EXPECT_NE(ReadFile(real).find("nouvelle"), std::string::npos) << ReadFile(real);
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                        QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(real) & everyone, kept);
    EXPECT_EQ(QDir(Path("classe")).entryList(QDir::Files | QDir::Hidden), QStringList{"fiche.rtf"});
}
#endif

TEST_F(PaneTest, ReadsTheDefaultTabStopsIntoTheScreenLayout) {
    LoadStream(m_pane, "{\\rtf1\\deftab1440 a\\tab b}");
    EXPECT_EQ(m_pane.DefaultTabTwips(), 1440);
    EXPECT_DOUBLE_EQ(m_pane.tabStopDistance(), m_pane.logicalDpiX());  // one inch
    EXPECT_NE(m_pane.ContentForStream().indexOf("\\deftab1440"), -1);
}

// Counts the resizes of a pane's text area while it holds more than one empty
// line: each one lays the whole document out again.
class RelayoutCounter : public QObject {
public:
    explicit RelayoutCounter(TRxRichEdit& pane) : m_pane(pane) {
        pane.viewport()->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize && m_pane.document()->characterCount() > 1) {
            ++count;
        }
        return false;
    }

private:
    TRxRichEdit& m_pane;
};

TEST_F(PaneTest, AShownPaneLaysALongDocumentOutOnceAndShowsItsScrollBarOnlyWhenNeeded) {
    m_pane.resize(420, 132);
    m_pane.show();
    QCoreApplication::processEvents();
    std::string longDocument = "{\\rtf1 ";
    for (int line = 0; line < 60; ++line) {
        longDocument += "ligne\\par ";
    }
    longDocument += "}";
    RelayoutCounter relayouts(m_pane);
    const struct {
        std::string document;
        bool needsScrollBar;
    } cases[] = {{longDocument, true}, {"{\\rtf1 court}", false}, {longDocument, true}};
    for (const auto& c : cases) {
        m_pane.ClearContent();
        QCoreApplication::processEvents();
        relayouts.count = 0;
        LoadStream(m_pane, c.document);
        QCoreApplication::processEvents();
        if (c.needsScrollBar) {
            EXPECT_EQ(relayouts.count, 0);
        }
        EXPECT_EQ(m_pane.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        EXPECT_EQ(m_pane.verticalScrollBar()->isVisible(), c.needsScrollBar) << c.document;
    }
}

TEST_F(PaneTest, SwitchesReadOnlyAndTheTabKey) {
    m_pane.setReadOnly(true);
    m_pane.SetWantTabs(false);
    EXPECT_TRUE(m_pane.isReadOnly());
    EXPECT_FALSE(m_pane.WantTabs());
    EXPECT_TRUE(m_pane.tabChangesFocus());
    m_pane.SetWantTabs(true);
    EXPECT_TRUE(m_pane.WantTabs());
}

TEST(DocumentFonts, TheDocumentsFontsMeasureAsTheirMetricTwins) {
    struct Case {
        const char* family;
        const char* twin;
    };
    const Case cases[] = {
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    };
    for (const Case& c : cases) {
        const QFont named(c.family, 9);
        EXPECT_EQ(QFontInfo(named).family(), c.twin) << "fonts-liberation2 missing?";
        EXPECT_DOUBLE_EQ(QFontMetricsF(named).horizontalAdvance("1 234 567.891 dam"),
                         QFontMetricsF(QFont(c.twin, 9)).horizontalAdvance("1 234 567.891 dam"));
    }
}

}  // namespace
