#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

#include "PdfTools.h"
#include "RichText/RtfReader.h"
#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/window/TForm1.h"

namespace {

// With "Sujets différents", a class set of 3 subjects and 2 answer keys each
// prints 3 different sheets of consecutive codes from the one shown, then 2
// copies of each one's answer key, every copy in a file of its own; saving
// also writes every subject in one file and every answer key in another, one
// sheet after the other, each as it prints. Unticked, the panes print as before.
TEST(SheetSet, EachPupilGetsASheetOfItsOwnCodeAndTheKeysFollowInTheSameOrder) {
    QTemporaryDir folder;
    Ufiche::TForm1 form;
    form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
    form.show();
    std::deque<QPrinter> printers;
    QStringList suffixes;
    form.SetPrinterForJob([&](const QString& suffix) -> QPrinter& {
        suffixes << suffix;
        QPrinter& printer = printers.emplace_back(QPrinter::HighResolution);
        printer.setOutputFileName(folder.filePath("print" + suffix + ".pdf"));
        return printer;
    });
    form.SetSaveDialog([&](auto&&...) { return std::optional(folder.filePath("fiche")); });
    form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
    form.findChild<QSpinBox*>("spinterligne")->setValue(3);  // two pages a sheet
    form.findChild<QSpinBox*>("spSujets")->setValue(3);
    form.findChild<QSpinBox*>("spCorriges")->setValue(2);
    form.findChild<QCheckBox*>("ckbSujetsDiff")->setChecked(true);
    form.findChild<QPushButton*>("btnLong")->click();
    form.findChild<QPushButton*>("btnImprime")->click();
    form.findChild<QPushButton*>("btnEnregistre")->click();

    QStringList subjectFiles, keyFiles;
    std::vector<std::string> subjects, keys;
    const auto shown =
        Ufiche::ParseSheetCode(form.findChild<QLineEdit*>("eCode")->text().toStdString());
    for (const std::uint32_t step : {0u, 1u, 2u}) {
        const std::uint32_t code = Ufiche::SheetCodeAfter(shown.value(), step);
        const auto sheet = Ufiche::BuildWorksheetOfCode(Uconvers::QuantityKind::Length,
                                                        form.LastSheetSettings(), code, true);
        subjects.push_back(sheet.Subject);
        keys.push_back(sheet.AnswerKey);
        const QString codeText = QString::fromStdString(Ufiche::SheetCodeText(code));
        const QString name = QString::fromStdString(sheet.DefaultFileName);
        subjectFiles << "_" + codeText;
        keyFiles << subjectFiles.back() + "_Corrige1" << subjectFiles.back() + "_Corrige2";
        for (const QString& suffix : {subjectFiles.back(), keyFiles.end()[-2], keyFiles.back()}) {
            SCOPED_TRACE(suffix.toStdString());
            const QString text = PdfText(folder.filePath("print" + suffix + ".pdf"));
            EXPECT_TRUE(text.startsWith(name + " - code " + codeText));
            EXPECT_EQ(text.count(name), 1);  // no other sheet's heading
            EXPECT_TRUE(text.contains("code " + codeText + " - page 2"));
            EXPECT_EQ(text.contains("Corrig\u00e9"), suffix.contains("Corrige"));
        }
    }
    EXPECT_EQ(suffixes, subjectFiles + keyFiles);

    // The saved set: the sheets read back whole, in order, one per page.
    for (const auto& [file, documents] :
         {std::pair{"fiche_Sujets.rtf", subjects}, std::pair{"fiche_Corriges.rtf", keys}}) {
        QFile saved(folder.filePath(file));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << file;
        const std::string joined = saved.readAll().toStdString();
        std::vector<RichText::RtfBlock> sheets;
        for (const std::string& document : documents) {
            // A sheet ends its last line with "\\par": the next one starts in the
            // empty paragraph after it.
            if (!sheets.empty()) {
                sheets.pop_back();
            }
            const auto blocks = RichText::ReadRtf(document).blocks;
            sheets.insert(sheets.end(), blocks.begin(), blocks.end());
        }
        EXPECT_EQ(RichText::ReadRtf(joined).blocks, sheets) << file;
        EXPECT_EQ(QString::fromStdString(joined).count("\\page"), 2) << file;
    }
    EXPECT_TRUE(QFile::exists(folder.filePath("fiche.rtf")));

    // Unticked: the panes' copies, named as ever.
    form.findChild<QCheckBox*>("ckbSujetsDiff")->setChecked(false);
    form.findChild<QPushButton*>("btnImprime")->click();
    EXPECT_EQ(suffixes.mid(9), (QStringList{"", "_Sujet2", "_Sujet3", "_Corrige1", "_Corrige2"}));
}

}  // namespace
