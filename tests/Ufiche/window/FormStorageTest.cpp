#include "Ufiche/window/FormStorage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Ufiche/window/TForm1.h"
#include "platform/errors/ErrorReport.h"
#include "platform/errors/Messages.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

class FormStorageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        settingsFile = folder.filePath("fiches-conversions.ini");
        platform::setErrorPresenter([this](const QString& message) { errors << message; });
    }
    void TearDown() override { platform::setErrorPresenter(nullptr); }

    std::unique_ptr<TForm1> OpenWindow(const QString& fileName) {
        auto form = std::make_unique<TForm1>();
        form->setSettingsFileName(fileName);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }
    std::unique_ptr<TForm1> OpenWindow() { return OpenWindow(settingsFile); }

    void WriteSettings(const QByteArray& content) {
        QFile file(settingsFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray ReadSettings() {
        QFile file(settingsFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <class Widget>
    static Widget& control(TForm1& form, const char* name) {
        return *form.findChild<Widget*>(name);
    }

    QTemporaryDir folder;
    QString settingsFile;
    QStringList errors;
};

TEST_F(FormStorageTest, WithoutAFileTheControlsKeepTheirDefaultsButTextsLoseTheirBlanks) {
    auto form = OpenWindow();
    EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 25);
    EXPECT_EQ(control<QComboBox>(*form, "Combo1").currentText(), "Convertir en");
    EXPECT_EQ(control<QComboBox>(*form, "Combo1").count(), 4);
    EXPECT_EQ(control<QLineEdit>(*form, "eTitre1").text().size(), 73);
    EXPECT_EQ(form->size(), QSize(798, 420));
    EXPECT_TRUE(form->FormStorage1().Restored());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(FormStorageTest, ASavedWindowComesBackKeyForKey) {
    {
        auto form = OpenWindow();
        control<QSpinBox>(*form, "spMaxLigne").setValue(40);
        control<QSpinBox>(*form, "spinterligne").setValue(3);
        control<QSpinBox>(*form, "spSujets").setValue(30);
        control<QLineEdit>(*form, "eTitre1").setText("\"Classe de 6e B\"");
        control<QLineEdit>(*form, "eSepar").setText("  *** ");
        control<QSlider>(*form, "trbNiveau").setValue(3);
        control<QCheckBox>(*form, "CheckBox1").setChecked(false);
        control<QCheckBox>(*form, "ckbEdite").setChecked(true);
        auto& combo = control<QComboBox>(*form, "Combo1");
        combo.addItem("Exprimer en ");
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
    EXPECT_TRUE(file.contains("[TForm1.Combo1_Items]\r\nCount=5\r\nItem0=Convertir en \r\n"));
    EXPECT_TRUE(file.contains("Item4=Exprimer en \r\n"));

    auto form = OpenWindow();
    EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 40);
    EXPECT_EQ(control<QSpinBox>(*form, "spinterligne").value(), 3);
    EXPECT_EQ(control<QSpinBox>(*form, "spSujets").value(), 30);
    EXPECT_EQ(control<QLineEdit>(*form, "eTitre1").text(), "\"Classe de 6e B\"");
    EXPECT_EQ(control<QLineEdit>(*form, "eSepar").text(), "***");
    EXPECT_EQ(control<QLabel>(*form, "Label10").text(), "(3)");
    EXPECT_EQ(form->CurrentLevel(), 3);
    EXPECT_EQ(control<QSlider>(*form, "trbNiveau").toolTip(), platform::messages::levelHint(3));
    EXPECT_FALSE(control<QLineEdit>(*form, "eSepar").isEnabled());
    EXPECT_TRUE(form->EditMode());
    EXPECT_FALSE(form->subjectPane().isReadOnly());
    auto& combo = control<QComboBox>(*form, "Combo1");
    EXPECT_EQ(combo.currentText(), "Exprimer en");
    ASSERT_EQ(combo.count(), 5);
    // Reading drops the blank that the file keeps.
    EXPECT_EQ(combo.itemText(0), "Convertir en");
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
    EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 40);
    EXPECT_EQ(control<QSpinBox>(*form, "spinterligne").value(), 0);
    EXPECT_EQ(form->CurrentLevel(), 3);
    EXPECT_TRUE(control<QCheckBox>(*form, "CheckBox1").isChecked());
    EXPECT_TRUE(form->EditMode());
    EXPECT_EQ(control<QSpinBox>(*form, "spSujets").value(), 0);
}

TEST_F(FormStorageTest, AnEmptiedListDisappearsAndTheDesignEntriesComeBack) {
    {
        auto form = OpenWindow();
        control<QComboBox>(*form, "Combo1").clear();
        form->close();
    }
    EXPECT_FALSE(ReadSettings().contains("Combo1_Items"));
    auto form = OpenWindow();
    EXPECT_EQ(control<QComboBox>(*form, "Combo1").count(), 4);
}

TEST_F(FormStorageTest, PositionComesBackOnlyOnTheSamePixelDensityAndPlainKeysStandIn) {
    WriteSettings(
        "[TForm1]\nPixelsPerInch=96\nNormPos=50,60,950,560\nShowCmd=1\nspMaxLigne_Value=7\n");
    {
        auto form = OpenWindow();
        EXPECT_EQ(form->frameGeometry(), QRect(50, 60, 900, 500));
        EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 7);
    }
    WriteSettings("[TForm1]\nPixelsPerInch=120\nNormPos=50,60,950,560\nspMaxLigne_Value=8\n");
    auto form = OpenWindow();
    EXPECT_EQ(form->size(), QSize(798, 420));
    EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 8);
}

TEST_F(FormStorageTest, AVersionBelowZeroRestoresNothingButTheCloseStillSaves) {
    WriteSettings("[TForm1]\nFormVersion=-1\nspMaxLigne_Value=7\n");
    auto form = OpenWindow();
    EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 25);
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
        EXPECT_EQ(control<QSpinBox>(*form, "spMaxLigne").value(), 25);
    }
    WriteSettings("[TForm1]\neTitre1_Text=" + QByteArray(100000, 'x') +
                  "\n[TForm1.Combo1_Items]\nCount=2000000000\nItem0=a\n");
    auto form = OpenWindow();
    EXPECT_EQ(control<QLineEdit>(*form, "eTitre1").text(), QString(160, 'x'));
    EXPECT_EQ(control<QComboBox>(*form, "Combo1").itemText(0), "a");
}

TEST_F(FormStorageTest, AFileThatCannotBeWrittenIsReportedAtTheCloseAndAgainAtDestruction) {
    // A folder that is a file: no user, root included, can write there.
    QFile blocker(folder.filePath("dossier"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = folder.filePath("dossier/fiches-conversions.ini");
    {
        auto form = OpenWindow(unwritable);
        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        ASSERT_EQ(errors.size(), 1);
        // Named as the system names it (C:\Users\... on Windows).
        EXPECT_EQ(errors[0],
                  "Impossible d'\u00e9crire dans " + QDir::toNativeSeparators(unwritable));
    }
    EXPECT_EQ(errors.size(), 2);
}

}  // namespace
