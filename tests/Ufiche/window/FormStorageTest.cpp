#include "Ufiche/window/settings/FormStorage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

#include "Ufiche/texts/AppTexts.h"
#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

#ifdef __linux__
// Counts, through the kernel's notifications on a folder, how often one of its
// files is opened and how often another file is renamed over it.
class FileAccessCounter {
public:
    explicit FileAccessCounter(const QString& folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        // Closes are watched too: the kernel merges an event into the one
        // before it when they are alike, so opens that follow one another
        // without them would count once.
        EXPECT_GE(inotify_add_watch(m_fd, folder.toLocal8Bit().constData(),
                                    IN_OPEN | IN_CLOSE | IN_MOVED_TO),
                  0);
    }
    ~FileAccessCounter() { close(m_fd); }

    struct Counts {
        int opened = 0;
        int replaced = 0;
    };
    // The accesses to the file of that name since the previous call.
    Counts Take(const QString& name) {
        Counts counts;
        alignas(inotify_event) char buffer[65536];
        ssize_t got;
        while ((got = read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name == event->name) {
                    counts.opened += (event->mask & IN_OPEN) != 0;
                    counts.replaced += (event->mask & IN_MOVED_TO) != 0;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return counts;
    }

private:
    int m_fd;
};
#endif

class FormStorageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_settingsFile = m_folder.filePath("fiches-conversions.ini");
        platform::SetErrorPresenter([this](const QString& message) { m_errors << message; });
    }
    void TearDown() override { platform::SetErrorPresenter(nullptr); }

    std::unique_ptr<Ufiche::TForm1> OpenWindow(const QString& fileName) {
        auto form = std::make_unique<Ufiche::TForm1>();
        form->SetSettingsFileName(fileName);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }
    std::unique_ptr<Ufiche::TForm1> OpenWindow() { return OpenWindow(m_settingsFile); }

    void WriteSettings(const QByteArray& content) {
        QFile file(m_settingsFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray ReadSettings() {
        QFile file(m_settingsFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <class Widget>
    static Widget& Control(Ufiche::TForm1& form, const char* name) {
        return *form.findChild<Widget*>(name);
    }

    QTemporaryDir m_folder;
    QString m_settingsFile;
    QStringList m_errors;
};

TEST_F(FormStorageTest, WithoutAFileTheControlsKeepTheirDefaultsButTextsLoseTheirBlanks) {
    auto form = OpenWindow();
    EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 25);
    EXPECT_EQ(Control<QComboBox>(*form, "Combo1").currentText(), "Convertir en");
    EXPECT_EQ(Control<QComboBox>(*form, "Combo1").count(), 4);
    EXPECT_EQ(Control<QLineEdit>(*form, "eTitre1").text().size(), 73);
    EXPECT_EQ(form->size(), QSize(798, 420));
    EXPECT_TRUE(form->FormStorage1().Restored());
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormStorageTest, ASavedWindowComesBackKeyForKey) {
    {
        auto form = OpenWindow();
        Control<QSpinBox>(*form, "spMaxLigne").setValue(40);
        Control<QSpinBox>(*form, "spinterligne").setValue(3);
        Control<QSpinBox>(*form, "spSujets").setValue(30);
        Control<QLineEdit>(*form, "eTitre1").setText("\"Classe de 6e B\"");
        Control<QLineEdit>(*form, "eSepar").setText("  *** ");
        Control<QSlider>(*form, "trbNiveau").setValue(3);
        Control<QCheckBox>(*form, "CheckBox1").setChecked(false);
        Control<QCheckBox>(*form, "ckbEdite").setChecked(true);
        auto& combo = Control<QComboBox>(*form, "Combo1");
        combo.addItem("Exprimer en ");
        combo.addItems({"\"Bonjour\"", "'x' "});
        combo.setEditText("Exprimer en ");
        EXPECT_TRUE(form->close());
        EXPECT_TRUE(form->FormStorage1().Saved());
    }
    const QByteArray file = ReadSettings();
    EXPECT_TRUE(file.startsWith("[TForm1]\r\nFormVersion=0\r\nFlags=0\r\nShowCmd=1\r\n"));
    EXPECT_TRUE(file.contains("spMaxLigne_Value=40\r\n"));
    EXPECT_TRUE(file.contains("eTitre1_Text=\"\"Classe de 6e B\"\"\r\n"));
    EXPECT_TRUE(file.contains("Combo1_Text=Exprimer en\r\n"));
    EXPECT_TRUE(file.contains("CheckBox1_Checked=False\r\n"));
    EXPECT_TRUE(file.contains("Visible=0\r\n"));
    EXPECT_TRUE(file.contains("[TForm1.Combo1_Items]\r\nCount=7\r\nItem0=Convertir en \r\n"));
    EXPECT_TRUE(file.contains("Item4=Exprimer en \r\n"));
    EXPECT_TRUE(file.contains("Item5=\"\"Bonjour\"\"\r\nItem6=\"'x'\" \r\n"));

    auto form = OpenWindow();
    EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 40);
    EXPECT_EQ(Control<QSpinBox>(*form, "spinterligne").value(), 3);
    EXPECT_EQ(Control<QSpinBox>(*form, "spSujets").value(), 30);
    EXPECT_EQ(Control<QLineEdit>(*form, "eTitre1").text(), "\"Classe de 6e B\"");
    EXPECT_EQ(Control<QLineEdit>(*form, "eSepar").text(), "***");
    EXPECT_EQ(Control<QLabel>(*form, "Label10").text(), "(3)");
    EXPECT_EQ(form->CurrentLevel(), 3);
    EXPECT_EQ(Control<QSlider>(*form, "trbNiveau").toolTip(), Ufiche::texts::LevelHint(3));
    EXPECT_FALSE(Control<QLineEdit>(*form, "eSepar").isEnabled());
    EXPECT_TRUE(form->EditMode());
    EXPECT_FALSE(form->SubjectPane().isReadOnly());
    auto& combo = Control<QComboBox>(*form, "Combo1");
    EXPECT_EQ(combo.currentText(), "Exprimer en");
    ASSERT_EQ(combo.count(), 7);
    // Reading drops the blank that the file keeps.
    EXPECT_EQ(combo.itemText(0), "Convertir en");
    EXPECT_EQ(combo.itemText(5) + combo.itemText(6), "\"Bonjour\"'x'");
    // The restored settings differ from the panes: the first activation is green.
    EXPECT_EQ(form->LightColour(), QColor(0, 128, 0));
}

TEST_F(FormStorageTest, ValuesOutOfRangeOrUnreadableAreClampedOrIgnored) {
    WriteSettings(
        "[tform1]\n"
        "  SPMAXLIGNE_VALUE =  99  \n"
        "spinterligne_Value=abc\n"
        "\n"
        "trbNiveau_Position=7\r\n"
        "CheckBox1_Checked=yes\n"
        "ckbEdite_Checked=true\n"
        "spSujets_Value=-4\n");
    auto form = OpenWindow();
    EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 40);
    EXPECT_EQ(Control<QSpinBox>(*form, "spinterligne").value(), 0);
    EXPECT_EQ(form->CurrentLevel(), 3);
    EXPECT_TRUE(Control<QCheckBox>(*form, "CheckBox1").isChecked());
    EXPECT_TRUE(form->EditMode());
    EXPECT_EQ(Control<QSpinBox>(*form, "spSujets").value(), 0);
}

TEST_F(FormStorageTest, AnEmptiedListDisappearsAndTheDesignEntriesComeBack) {
    {
        auto form = OpenWindow();
        Control<QComboBox>(*form, "Combo1").clear();
        form->close();
    }
    EXPECT_FALSE(ReadSettings().contains("Combo1_Items"));
    auto form = OpenWindow();
    EXPECT_EQ(Control<QComboBox>(*form, "Combo1").count(), 4);
}

TEST_F(FormStorageTest, PositionComesBackOnlyOnTheSamePixelDensityAndPlainKeysStandIn) {
    WriteSettings(
        "[TForm1]\nPixelsPerInch=96\nNormPos=50,60,950,560\nShowCmd=1\nspMaxLigne_Value=7\n");
    {
        auto form = OpenWindow();
        EXPECT_EQ(form->frameGeometry(), QRect(50, 60, 900, 500));
        EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 7);
    }
    WriteSettings("[TForm1]\nPixelsPerInch=120\nNormPos=50,60,950,560\nspMaxLigne_Value=8\n");
    auto form = OpenWindow();
    EXPECT_EQ(form->size(), QSize(798, 420));
    EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 8);
}

TEST_F(FormStorageTest, AVersionBelowZeroRestoresNothingButTheCloseStillSaves) {
    WriteSettings("[TForm1]\nFormVersion=-1\nspMaxLigne_Value=7\n");
    auto form = OpenWindow();
    EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 25);
    form->close();
    EXPECT_TRUE(ReadSettings().contains("spMaxLigne_Value=25\r\n"));
    EXPECT_TRUE(ReadSettings().contains("FormVersion=0\r\n"));
}

TEST_F(FormStorageTest, GarbageFilesOpenTheWindowWithItsDefaults) {
    QByteArray garbage;
    for (int i = 0; i < (1 << 20); ++i) {
        garbage += static_cast<char>((i * 7919LL) % 256);
    }
    WriteSettings(garbage);
    {
        auto form = OpenWindow();
        EXPECT_EQ(Control<QSpinBox>(*form, "spMaxLigne").value(), 25);
    }
    WriteSettings("[TForm1]\neTitre1_Text=" + QByteArray(100000, 'x') +
                  "\n[TForm1.Combo1_Items]\nCount=2000000000\nItem0=a\n");
    auto form = OpenWindow();
    EXPECT_EQ(Control<QLineEdit>(*form, "eTitre1").text(), QString(160, 'x'));
    EXPECT_EQ(Control<QComboBox>(*form, "Combo1").itemText(0), "a");
}

TEST_F(FormStorageTest, AFileThatCannotBeWrittenIsReportedAtTheCloseAndAgainAtDestruction) {
    // A folder that is a file: no user, root included, can write there.
    QFile blocker(m_folder.filePath("dossier"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = m_folder.filePath("dossier/fiches-conversions.ini");
    {
        auto form = OpenWindow(unwritable);
        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        ASSERT_EQ(m_errors.size(), 1);
        // Named as the system names it (C:\Users\... on Windows).
        EXPECT_EQ(m_errors[0],
                  "Impossible d'\u00e9crire dans " + QDir::toNativeSeparators(unwritable));
    }
    EXPECT_EQ(m_errors.size(), 2);
}

TEST_F(FormStorageTest, EveryStoredSettingComesBackAndIsWrittenAgainInItsOwnOrder) {
    // One value per key, none of them the window's design value, in the order
    // a save writes them; the file that is read holds them in reverse order.
    const QList<std::pair<QByteArray, QByteArray>> stored = {
        {"spMaxLigne_Value", "12"},
        {"spinterligne_Value", "4"},
        {"eTitre1_Text", "\"\"6e B\"\""},
        {"eSepar_Text", "=== fin ==="},
        {"spCorriges_Value", "3"},
        {"spSujets_Value", "28"},
        {"SaveDialog1_InitialDir", "/srv/Mes fiches"},
        {"Combo1_Text", "Exprimer en"},
        {"CheckBox1_Checked", "False"},
        {"trbNiveau_Position", "2"},
        {"ckbEdite_Checked", "True"},
        {"ckbVirgule_Checked", "True"},
        {"ckbTableau_Checked", "True"},
        {"ckbDeuxUnites_Checked", "True"},
        {"ckbSujetsDiff_Checked", "True"},
    };
    const QByteArray list =
        "[TForm1.Combo1_Items]\r\nCount=2\r\nItem0=Convertir en \r\nItem1='x'\r\n";
    QByteArray read = list;
    QByteArray written;
    for (const auto& [key, value] : stored) {
        read.prepend(key + "=" + value + "\r\n");
        written += key + "=" + value + "\r\n";
    }
    WriteSettings("[TForm1]\r\n" + read);

    auto form = OpenWindow();
    QString offeredFolder;
    form->SetSaveDialog([&](QWidget*, const QString& initialDir, const QString&) {
        offeredFolder = initialDir;
        return std::optional<QString>();
    });
    form->btnEnregistreClick();
    EXPECT_EQ(offeredFolder, "/srv/Mes fiches");
    EXPECT_EQ(Control<QComboBox>(*form, "Combo1").itemText(1), "x");

    // The save goes to a new file, which takes the keys in the store's order.
    const QString newFile = m_folder.filePath("nouveau.ini");
    form->SetSettingsFileName(newFile);
    EXPECT_TRUE(form->close());
    QFile file(newFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(
        saved.endsWith("Visible=0\r\n" + written +
                       "[TForm1.Combo1_Items]\r\nCount=2\r\nItem0=Convertir en\r\nItem1=x\r\n"))
        << saved.constData();
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormStorageTest, ARestoreReadsTheFileOnceAndASaveReplacesItOnce) {
#ifdef __linux__
    WriteSettings(
        "[TForm1]\nspMaxLigne_Value=7\n[TForm1.Combo1_Items]\nCount=2\nItem0=a\nItem1=b\n");
    FileAccessCounter accesses(m_folder.path());
    const QString name = QFileInfo(m_settingsFile).fileName();
    auto form = OpenWindow();
    const auto restore = accesses.Take(name);
    EXPECT_EQ(restore.opened, 1);
    EXPECT_EQ(restore.replaced, 0);
    Control<QSpinBox>(*form, "spMaxLigne").setValue(9);
    EXPECT_TRUE(form->close());
    const auto save = accesses.Take(name);
    EXPECT_EQ(save.opened, 1);
    EXPECT_EQ(save.replaced, 1);
    EXPECT_TRUE(ReadSettings().contains("spMaxLigne_Value=9\r\n"));
#else
    GTEST_SKIP() << "counted through Linux's file notifications";
#endif
}

}  // namespace
