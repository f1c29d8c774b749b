// A saved worksheet opened in a word processor: LibreOffice lays out every
// kind and level of 40-question subject and answer key as the program prints
// it, each question line holding what it holds on the program's own page.
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

#include "PdfTools.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/panes/Saving.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "platform/printer/Printer.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using Uconvers::QuantityKind;

// The exercises ("=" signs) on the line of each question, in order; a
// question line whose second exercise wrapped shows fewer.
std::vector<int> ExercisesPerQuestionLine(const QString& text) {
    std::vector<int> counts;
    for (const QString& line : text.split('\n')) {
        if (line.contains("\u00b0/")) {
            counts.push_back(static_cast<int>(line.count('=')));
        }
    }
    return counts;
}

// The pane printed by the program itself on the page that saving records.
QString OwnPrintText(platform::TRxRichEdit& pane, const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(platform::CurrentPrinter::instance().pageLayoutOrA4());
    pane.print(printer, "Sujet");
    return PdfText(pdf);
}

TEST(SavedLayout, LibreOfficeLaysEveryQuestionLineOutAsTheProgramPrintsIt) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice (libreoffice-writer-nogui) is missing";
    QTemporaryDir folder;
    const struct {
        QuantityKind kind;
        const char* name;
    } kinds[] = {{QuantityKind::Length, "Long"},
                 {QuantityKind::Area, "Surf"},
                 {QuantityKind::Volume, "Vol"},
                 {QuantityKind::Capacity, "Capa"}};
    const bool withoutEdge =
        platform::CurrentPrinter::instance().pageLayoutOrA4().margins().isNull();
    QStringList saved;
    QStringList ownPrints;  // the program's own page text of each saved file
    for (const auto& k : kinds) {
        for (int level = 1; level <= 3; ++level) {
            Ufiche::MersenneRandomSource random(static_cast<std::uint32_t>(level * 11));
            const auto sheet = Ufiche::BuildWorksheet(k.kind,
                                                      {level, 40, 1, "Nom :",
                                                       "Convertir dans l'unit\xe9 demand\xe9"
                                                       "e",
                                                       true, std::string(60, '-')},
                                                      random);
            platform::TRxRichEdit subject;
            platform::TRxRichEdit answerKey;
            Ufiche::LoadRtfIntoPane(subject, sheet.Subject);
            Ufiche::LoadRtfIntoPane(answerKey, sheet.AnswerKey);
            const QString name = folder.filePath(QString("%1_N%2").arg(k.name).arg(level));
            Ufiche::SaveWorksheet(subject, answerKey, name);
            const auto files = Ufiche::SaveFileNames(name);
            saved << files.subject << files.answerKey;
            ownPrints << OwnPrintText(subject, name + "_own.pdf")
                      << OwnPrintText(answerKey, name + "_Cor_own.pdf");
        }
    }
    // One run for all files: LibreOffice takes long to start.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", folder.path());  // a profile of its own
    process.setProcessEnvironment(environment);
    process.start(soffice, QStringList{"--headless", "--convert-to", "pdf", "--outdir",
                                       folder.filePath("pdf")} +
                               saved);
    ASSERT_TRUE(process.waitForFinished(300000)) << "soffice did not finish";

    for (qsizetype i = 0; i < saved.size(); ++i) {
        const QFileInfo file(saved[i]);
        const QString text = PdfText(folder.filePath("pdf/" + file.completeBaseName() + ".pdf"));
        const std::string where = file.fileName().toStdString();
        ASSERT_FALSE(text.isEmpty())
            << where << ": " << process.readAllStandardError().toStdString();
        for (int question = 1; question <= 40; ++question) {
            const QRegularExpression number(QString("(^|[\\n\\f])[ \\t]*%1\u00b0/").arg(question));
            EXPECT_EQ(text.count(number), 1) << where << ", question " << question;
        }
        const std::vector<int> own = ExercisesPerQuestionLine(ownPrints[i]);
        EXPECT_EQ(ExercisesPerQuestionLine(text), own) << where;
        // Up to level 2 every question line holds both exercises. At level 3
        // the longest numbers reach about 8.1 inches: an A4 sheet holds them
        // whole only without an unprintable edge, on the program's own page
        // as in the word processor.
        if (!file.fileName().contains("_N3") || withoutEdge) {
            EXPECT_EQ(own, std::vector<int>(40, 2)) << where;
        }
    }
}

}  // namespace
