// Paper a teacher can hand out as it is. Worksheets of every kind and level,
// 40 questions on A4 sheets with unprintable edges of 0, 4.2, 6 and 10 mm,
// as the program prints them, as the preview draws its page files, and as
// LibreOffice lays out the saved files: every question line holds both its
// exercises, and every right exercise of a subject starts at the same x.
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EmfFileReader.h"
#include "PageLines.h"
#include "PdfTools.h"
#include "RichEditEMFPrint/RichEditEMFPrint.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/panes/Saving.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using testsupport::PaperLine;
using testsupport::PlacedText;
using Uconvers::QuantityKind;

constexpr int kQuestions = 40;
constexpr int kSeeds = 3;
constexpr double kRaisePoints = 6;  // how far a superscript stands above its line, at most

// Each line whole; in a subject (`column` above 0), every right exercise at
// the x of the first one, within `column`; every question once on `allPages`.
void ExpectWholeLines(const std::vector<PaperLine>& lines, double column, bool allPages,
                      const std::string& where) {
    std::vector<int> seen(kQuestions + 1, 0);
    for (const PaperLine& line : lines) {
        ++seen[static_cast<std::size_t>(std::clamp(line.question, 0, kQuestions))];
        EXPECT_EQ(line.equalSigns, 2) << where << ", question " << line.question;
        if (column > 0) {
            EXPECT_NEAR(line.rightX, lines.front().rightX, column)
                << where << ", " << line.question;
        }
    }
    EXPECT_GT(lines.size(), 20u) << where;
    for (int question = 1; allPages && question <= kQuestions; ++question) {
        EXPECT_EQ(seen[static_cast<std::size_t>(question)], 1)
            << where << ", question " << question;
    }
}

// The text runs of the preview's page files, placed in the files' units.
std::vector<PlacedText> PageFileRuns(const QString& prefix) {
    std::vector<PlacedText> runs;
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        QFile file(RichEditEMFPrint::PageFileName(prefix, page));
        file.open(QIODevice::ReadOnly);
        for (const emftest::TextRun& run : emftest::TextRuns(file.readAll())) {
            runs.push_back({page, 1.0 * run.reference.x(), 1.0 * run.reference.y(), run.text});
        }
    }
    return runs;
}

TEST(PaperLayout, EveryQuestionLineIsWholeAndEverySubjectInOneColumnOnA4) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice (libreoffice-writer-nogui) is missing";
    QTemporaryDir folder;
    const struct {
        QuantityKind kind;
        const char* name;
    } kinds[] = {{QuantityKind::Length, "Long"},
                 {QuantityKind::Area, "Surf"},
                 {QuantityKind::Volume, "Vol"},
                 {QuantityKind::Capacity, "Capa"},
                 {QuantityKind::Mass, "Mass"}};
    QStringList saved;
    for (const auto& k : kinds) {
        for (int level = 1; level <= 3; ++level) {
            for (const double edge : {0.0, 4.2, 6.0, 10.0}) {
                for (int seed = 0; seed < kSeeds; ++seed) {
                    const QString name = folder.filePath(
                        QString("%1_N%2_%3mm_%4").arg(k.name).arg(level).arg(edge).arg(seed));
                    const std::string where = QFileInfo(name).fileName().toStdString();
                    Ufiche::MersenneRandomSource random(
                        static_cast<std::uint32_t>(seed * 1000 + level * 10 + std::lround(edge)));
                    // Odd seeds hide the separator: the first line then starts with a blank.
                    const auto sheet =
                        Ufiche::BuildWorksheet(k.kind,
                                               {level, kQuestions, 1, "Nom :", "Convertir en ",
                                                seed % 2 == 0, std::string(60, '-')},
                                               random);
                    QPrinter printer(QPrinter::HighResolution);
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setPageLayout(
                        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(edge, edge, edge, edge), QPageLayout::Millimeter));
                    for (const bool subject : {true, false}) {
                        const QString file = subject ? name : name + "_Cor";
                        platform::TRxRichEdit pane;
                        Ufiche::LoadRtfIntoPane(pane, subject ? sheet.Subject : sheet.AnswerKey);
                        printer.setOutputFileName(file + ".pdf");
                        pane.PrintAsJob(printer, "Sujet");
                        ExpectWholeLines(QuestionLines(PdfWords(file + ".pdf"), kRaisePoints),
                                         subject ? 0.5 : 0, true, where + " printed");
                        if (subject) {  // the preview's first two pages
                            RichEditEMFPrint::RichEditToEMF(pane, name + "_page",
                                                            [&]() -> QPrinter& { return printer; });
                            const double dots = printer.resolution() / 72.0;
                            ExpectWholeLines(
                                QuestionLines(PageFileRuns(name + "_page"), kRaisePoints * dots),
                                0.5 * dots, false, where + " previewed");
                        }
                        pane.SetStreamMode(platform::TRxRichEdit::StreamMode::WholeContent);
                        pane.SaveToFile(file + ".rtf", Ufiche::SavedPage(printer.pageLayout()));
                        saved << file + ".rtf";
                    }
                }
            }
        }
    }
    // LibreOffice takes long to start, but one run for hundreds of files has
    // been seen to stop half-way: a few runs.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", folder.path());  // a profile of its own
    for (qsizetype first = 0; first < saved.size(); first += 48) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(soffice, QStringList{"--headless", "--convert-to", "pdf", "--outdir",
                                           folder.filePath("lo")} +
                                   saved.mid(first, 48));
        ASSERT_TRUE(process.waitForFinished(300000)) << "soffice did not finish";
    }
    for (const QString& file : saved) {
        const QString pdf = folder.filePath("lo/" + QFileInfo(file).completeBaseName() + ".pdf");
        const std::string where = QFileInfo(file).fileName().toStdString() + " in LibreOffice";
        ASSERT_TRUE(QFile::exists(pdf)) << where;
        ExpectWholeLines(QuestionLines(PdfWords(pdf), kRaisePoints),
                         file.endsWith("_Cor.rtf") ? 0 : 0.5, true, where);
    }
}

}  // namespace
