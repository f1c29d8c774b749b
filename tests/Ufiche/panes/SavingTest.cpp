#include "Ufiche/panes/Saving.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

TEST(SaveFileNames, TheAnswerKeyTakesTheBaseNameAndAMissingExtensionBecomesRtf) {
    const struct {
        const char* chosen;
        const char* subject;
        const char* answerKey;
    } cases[] = {
        {"/d/Long_N2_07_93", "/d/Long_N2_07_93.rtf", "/d/Long_N2_07_93_Cor.rtf"},
        {"/d/fiche.rtf", "/d/fiche.rtf", "/d/fiche_Cor.rtf"},
        {"/d/fiche.RTF", "/d/fiche.RTF", "/d/fiche_Cor.rtf"},
        {"/d/fiche.doc", "/d/fiche.doc", "/d/fiche_Cor.rtf"},
        {"/d/fiche.txt", "/d/fiche.txt", "/d/fiche_Cor.rtf"},
        {"/d/fiches.v2/fiche", "/d/fiches.v2/fiche.rtf", "/d/fiches.v2/fiche_Cor.rtf"},
        {"/d/fiche.tar.gz", "/d/fiche.tar.gz", "/d/fiche.tar_Cor.rtf"},
        {"/d/.rtf", "/d/.rtf", "/d/_Cor.rtf"},
    };
    for (const auto& c : cases) {
        const auto names = Ufiche::SaveFileNames(c.chosen);
        EXPECT_EQ(names.subject, c.subject);
        EXPECT_EQ(names.answerKey, c.answerKey);
    }
}

class SavingTest : public testing::Test {
protected:
    void SetUp() override {
        m_form.SetSettingsFileName(m_folder.filePath("fiches-conversions.ini"));
        m_form.SetSeedSource([] { return 7u; });
        m_form.SetSaveDialog([this](QWidget*, const QString& initialDir, const QString& proposed) {
            m_proposals << proposed;
            m_initialDirs << initialDir;
            return m_answer;
        });
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
        m_form.show();
    }
    void TearDown() override { platform::SetErrorPresenter(nullptr); }

    void Save(const std::optional<QString>& chosen) {
        m_answer = chosen;
        m_form.btnEnregistreClick();
    }

    QString Path(const QString& name) const { return m_folder.filePath(name); }

    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
    }

    QTemporaryDir m_folder;
    Ufiche::TForm1 m_form;
    std::optional<QString> m_answer;
    QStringList m_proposals;
    QStringList m_initialDirs;
    QStringList m_errors;
};

TEST_F(SavingTest, BothFilesHoldThePanesAndReloadWithTheSameTextAndFormatting) {
    m_form.btnLongClick();
    Save(Path("fiche"));
    ASSERT_EQ(m_proposals, QStringList{QString::fromStdString(m_form.DefaultFileName()) + ".rtf"});
    const QByteArray subject = Read("fiche.rtf");
    const QByteArray answerKey = Read("fiche_Cor.rtf");
    EXPECT_TRUE(subject.startsWith("{\\rtf1"));
    EXPECT_TRUE(answerKey.startsWith("{\\rtf1"));
    EXPECT_TRUE(answerKey.contains("\\highlight"));
    // No printer here: an A4 sheet with the common 5 mm edge (283 twips).
    for (const QByteArray& file : {subject, answerKey}) {
        EXPECT_TRUE(
            file.contains("\\paperw11906\\paperh16838\\margl283\\margr283\\margt283"
                          "\\margb283"));
    }

    for (const auto& [file, pane] : {std::pair{subject, &m_form.SubjectPane()},
                                     std::pair{answerKey, &m_form.AnswerKeyPane()}}) {
        platform::TRxRichEdit reloaded;
        reloaded.setFont(pane->font());
        Ufiche::LoadRtfIntoPane(reloaded, file.toStdString());
        EXPECT_EQ(reloaded.toPlainText(), pane->toPlainText());
        EXPECT_EQ(reloaded.toHtml(), pane->toHtml());
    }
}

TEST_F(SavingTest, TheChosenExtensionDecidesTheSubjectFileAndTheAnswerKeyIsAlwaysRtf) {
    m_form.btnSurfClick();
    Save(Path("a.RTF"));
    Save(Path("b.doc"));
    Save(Path("c.txt"));
    QDir(m_folder.path()).mkdir("fiches.v2");
    Save(Path("fiches.v2/d"));
    EXPECT_TRUE(Read("a.RTF").startsWith("{\\rtf1"));
    EXPECT_TRUE(Read("a_Cor.rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(Read("b.doc").startsWith("{\\rtf1"));
    EXPECT_TRUE(Read("b_Cor.rtf").startsWith("{\\rtf1"));
    const QByteArray plain = Read("c.txt");
    EXPECT_TRUE(plain.startsWith(QByteArray::fromStdString(m_form.DefaultFileName()) + " - "));
    EXPECT_TRUE(plain.contains("\r\n"));
    EXPECT_TRUE(Read("c_Cor.rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(Read("fiches.v2/d.rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(Read("fiches.v2/d_Cor.rtf").startsWith("{\\rtf1"));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(SavingTest, BeforeAnyGenerationTheDialogProposesRtfAloneAndAnEmptyAnswerKeyIsWritten) {
    m_form.SetSaveDialogInitialDir(m_folder.path());
    m_form.findChild<QCheckBox*>("ckbEdite")->setChecked(true);
    m_form.SubjectPane().setPlainText("Exercices du jour");
    m_form.AnswerKeyPane().clear();
    Save(Path("jour"));
    EXPECT_EQ(m_proposals, QStringList{".rtf"});
    EXPECT_EQ(m_initialDirs, QStringList{m_folder.path()});
    EXPECT_TRUE(Read("jour.rtf").contains("Exercices du jour"));
    EXPECT_TRUE(Read("jour_Cor.rtf").startsWith("{\\rtf1"));
}

TEST_F(SavingTest, CancellingWritesNothingAndAnUnwritableFolderIsReportedWithoutAnAnswerKey) {
    m_form.btnVolClick();
    Save(std::nullopt);
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files).filter(".rtf").isEmpty());

    // A "folder" that is a file cannot hold files, for any user.
    QFile blocker(Path("bloque"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_answer = Path("bloque/fiche");
    QTest::mouseClick(m_form.findChild<QPushButton*>("btnEnregistre"), Qt::LeftButton);
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_EQ(m_errors[0], platform::messages::CannotCreateFile(
                               QDir::toNativeSeparators(Path("bloque/fiche.rtf"))));
    EXPECT_EQ(Read("bloque/fiche_Cor.rtf"), "<absent>");
}

TEST(SavedPage, TheRtfPageIsThePaperWithItsUnprintableEdgeAsMarginsInTwips) {
    const auto twips = [](const QPageLayout& layout) {
        const platform::RtfPage p = Ufiche::SavedPage(layout);
        return std::vector{p.widthTwips, p.heightTwips, p.leftTwips,
                           p.rightTwips, p.topTwips,    p.bottomTwips};
    };
    // Margins given as left, top, right, bottom; 1 point = 20 twips.
    EXPECT_EQ(twips(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                QMarginsF(18, 12, 9, 36), QPageLayout::Point)),
              (std::vector{12240, 15840, 360, 180, 240, 720}));
    // A4 (210 x 297 mm) to the twip, not rounded to whole points first.
    EXPECT_EQ(twips(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF())),
              (std::vector{16838, 11906, 0, 0, 0, 0}));
}

TEST_F(SavingTest, EachPaneKeepsItsSelectionCaretAndScrollingSoTheNextKeyReplacesNoWorksheet) {
    m_form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
    m_form.btnVolClick();
    m_form.findChild<QCheckBox*>("ckbEdite")->setChecked(true);
    const struct {
        int anchor;
        int position;
    } cases[] = {{10, 25}, {30, 30}, {60, 5}, {0, 0}};
    for (const auto& c : cases) {
        using StreamMode = platform::TRxRichEdit::StreamMode;
        std::vector<std::tuple<int, int, int, StreamMode>> before;
        for (platform::TRxRichEdit* pane : {&m_form.SubjectPane(), &m_form.AnswerKeyPane()}) {
            QTextCursor cursor = pane->textCursor();
            cursor.setPosition(c.anchor);
            cursor.setPosition(c.position, QTextCursor::KeepAnchor);
            pane->setTextCursor(cursor);
            QScrollBar* scroll = pane->verticalScrollBar();
            scroll->setValue(scroll->maximum() / 2);
            // A generation leaves the panes in selection mode; a save writes
            // them whole and leaves that mode as it was.
            before.emplace_back(cursor.anchor(), cursor.position(), scroll->value(),
                                StreamMode::Selection);
        }
        Save(Path("fiche"));
        for (int i = 0; i < 2; ++i) {
            const platform::TRxRichEdit& pane =
                i == 0 ? m_form.SubjectPane() : m_form.AnswerKeyPane();
            EXPECT_EQ(std::make_tuple(pane.textCursor().anchor(), pane.textCursor().position(),
                                      pane.verticalScrollBar()->value(), pane.CurrentStreamMode()),
                      before[i])
                << "pane " << i << ", case " << c.anchor << "-" << c.position;
        }
    }
    // A key typed now replaces at most the teacher's own selection.
    const int length = m_form.SubjectPane().TextLength();
    QTest::keyClick(&m_form.SubjectPane(), Qt::Key_X);
    EXPECT_EQ(m_form.SubjectPane().TextLength(), length + 1);
    EXPECT_TRUE(m_errors.isEmpty());
}

}  // namespace
