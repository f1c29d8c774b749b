// Paper a teacher can hand out as it is. Worksheets of every kind and level,
// 40 questions on A4 sheets with unprintable edges of 0, 4.2, 6 and 10 mm,
// as the program prints them, as the preview draws its page files, and as
// LibreOffice lays out the saved files: every question line holds both its
// exercises, and every right exercise of a subject starts at the same x.
#include <QDir>
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
// How far a superscript stands above its line, at most, in points.
constexpr double kRaisePoints = 6;

// Every question once, each line whole; in a subject (`column`), every right
// exercise at the x of the first one.
void ExpectWholeLines(const std::vector<PaperLine>& lines, bool column, double tolerance,
                      const std::string& where) {
    std::vector<int> seen(kQuestions + 1, 0);
    for (const PaperLine& line : lines) {
        ++seen[static_cast<std::size_t>(std::clamp(line.question, 0, kQuestions))];
        EXPECT_EQ(line.equalSigns, 2) << where << ", question " << line.question;
        if (column) {
            EXPECT_NEAR(line.rightX, lines.front().rightX, tolerance)
                << where << ", question " << line.question;
        }
    }
    for (int question = 1; question <= kQuestions; ++question) {
        EXPECT_EQ(seen[static_cast<std::size_t>(question)], 1)
            << where << ", question " << question;
    }
}

// The text runs of the preview's page files, placed in the files' units.
std::vector<PlacedText> PageFileRuns(const QString& prefix) {
    std::vector<PlacedText> runs;
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        QFile file(RichEditEMFPrint::PageFileName(prefix, page));
        if (file.open(QIODevice::ReadOnly)) {
            for (const emftest::TextRun& run : emftest::TextRuns(file.readAll())) {
                runs.push_back({page, static_cast<double>(run.reference.x()),
                                static_cast<double>(run.reference.y()), run.text});
            }
        }
    }
    return runs;
}

void SaveWhole(platform::TRxRichEdit& pane, const QString& file, const QPageLayout& layout) {
    pane.setStreamMode(platform::TRxRichEdit::StreamMode::WholeContent);
    pane.saveToFile(file, Ufiche::SavedPage(layout));
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
                 {QuantityKind::Capacity, "Capa"}};
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
                    platform::TRxRichEdit subject;
                    platform::TRxRichEdit answerKey;
                    Ufiche::LoadRtfIntoPane(subject, sheet.Subject);
                    Ufiche::LoadRtfIntoPane(answerKey, sheet.AnswerKey);

                    QPrinter printer(QPrinter::HighResolution);
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setPageLayout(
                        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(edge, edge, edge, edge), QPageLayout::Millimeter));
                    printer.setOutputFileName(name + ".pdf");
                    subject.print(printer, "Sujet");
                    ExpectWholeLines(
                        QuestionLines(testsupport::PdfWords(name + ".pdf"), kRaisePoints), true,
                        0.5, where + " printed");
                    printer.setOutputFileName(name + "_Cor.pdf");
                    answerKey.print(printer, "Corrig\u00e9");
                    ExpectWholeLines(
                        QuestionLines(testsupport::PdfWords(name + "_Cor.pdf"), kRaisePoints),
                        false, 0, where + "_Cor printed");

                    // The preview's two pages hold the first questions only.
                    RichEditEMFPrint::RichEditToEMF(subject, name + "_page",
                                                    [&]() -> QPrinter& { return printer; });
                    const double dots = printer.resolution() / 72.0;
                    const auto previewed =
                        QuestionLines(PageFileRuns(name + "_page"), kRaisePoints * dots);
                    ASSERT_GT(previewed.size(), 20u) << where;
                    for (const PaperLine& line : previewed) {
                        EXPECT_EQ(line.equalSigns, 2) << where << " previewed, " << line.question;
                        EXPECT_NEAR(line.rightX, previewed.front().rightX, 0.5 * dots)
                            << where << " previewed, question " << line.question;
                    }

                    SaveWhole(subject, name + ".rtf", printer.pageLayout());
                    SaveWhole(answerKey, name + "_Cor.rtf", printer.pageLayout());
                    saved << name + ".rtf" << name + "_Cor.rtf";
                }
            }
        }
    }
    // A few runs for all files, LibreOffice takes long to start; one run for
    // hundreds of files has been seen to stop half-way.
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
        ExpectWholeLines(QuestionLines(testsupport::PdfWords(pdf), kRaisePoints),
                         !file.endsWith("_Cor.rtf"), 0.5, where);
    }
}

}  // namespace
