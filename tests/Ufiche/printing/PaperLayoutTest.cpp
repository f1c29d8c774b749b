// Paper a teacher can hand out as it is. Worksheets of every kind and level,
// 40 questions on A4 sheets with unprintable edges of 0, 4.2, 6 and 10 mm,
// as the program prints them, as the preview draws its page files, and as
// LibreOffice lays out the saved files: every question line holds both its
// exercises, every right exercise of a sheet starts at the same x, no word
// stands past the printable width. The last seed's sheets have conversion
// tables: no table parts from its question line's page, the preview puts each
// line on the page the print does and draws the tables' borders, and
// LibreOffice reads the tables back with the exact conversions. The sheets
// for the wider edges are written with the decimal comma. Durations, and a
// fourth seed of the decimal kinds with measures in two units, have blanks
// and answers in several units of their own.
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "EmfFileReader.h"
#include "PageLines.h"
#include "PdfTools.h"
#include "RichEditEMFPrint/RichEditEMFPrint.h"
#include "TableCheck.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/panes/Saving.h"
#include "WorksheetLayout.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

using testsupport::PaperLine;
using testsupport::PlacedText;
using Uconvers::QuantityKind;

constexpr int kQuestions = 40;
constexpr int kSeeds = 4;
constexpr int kTablesSeed = 2;
constexpr int kTwoUnitsSeed = 3;
constexpr double kRaisePoints = 6;  // how far a superscript stands above its line, at most

// Each line whole; every right exercise (in a key, after the left answer)
// at the x of the first one, within `column`; every question once on
// `allPages`, more than `least` lines.
void ExpectWholeLines(const std::vector<PaperLine>& lines, double column, bool key, bool allPages,
                      const std::string& where, std::size_t least = 20) {
    std::vector<int> seen(kQuestions + 1, 0);
    for (const PaperLine& line : lines) {
        ++seen[static_cast<std::size_t>(std::clamp(line.question, 0, kQuestions))];
        EXPECT_EQ(line.equalSigns, 2) << where << ", question " << line.question;
        EXPECT_GT(key ? line.keyRightX : line.rightX, 0) << where << ", " << line.question;
        EXPECT_NEAR(key ? line.keyRightX : line.rightX,
                    key ? lines.front().keyRightX : lines.front().rightX, column)
            << where << ", " << line.question;
    }
    EXPECT_GT(lines.size(), least) << where;
    for (int question = 1; allPages && question <= kQuestions; ++question) {
        EXPECT_EQ(seen[static_cast<std::size_t>(question)], 1)
            << where << ", question " << question;
    }
}

// Every word within the printable width, from `left` to `right`; in a key
// with tables, the words under each question line down to the next (its
// tables, at least their symbols and digits) on the line's page, every
// symbol whole on its line. `raise` as for QuestionLines.
void ExpectWordsPlaced(std::vector<PlacedText> words, const std::vector<PaperLine>& lines,
                       double left, double right, double raise, const std::string& where,
                       std::optional<QuantityKind> tables = {}) {
    QStringList symbols;
    for (int unit = 0; tables && unit < Uconvers::UnitCount(*tables); ++unit) {
        symbols << QString::fromLatin1(testsupport::SymbolOf(*tables, unit).letters);
    }
    std::sort(words.begin(), words.end(), [](const PlacedText& a, const PlacedText& b) {
        return std::tie(a.page, a.y, a.x) < std::tie(b.page, b.y, b.x);
    });
    for (const PlacedText& word : words) {
        EXPECT_TRUE(word.x > left - 1 && word.right < right + 1)
            << where << ", page " << word.page << ": " << word.text.toStdString();
    }
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    QStringList broken;  // symbols not whole on their line
    for (std::size_t k = 0; tables && k < lines.size(); ++k) {
        const PaperLine& line = lines[k];
        QStringList under;
        int apart = 0;  // on another page
        for (const PlacedText& word : words) {
            const bool below = std::tie(word.page, word.y) > std::tie(line.page, line.y) &&
                               (word.page != line.page || word.y > line.y + 0.5);
            const bool before = k + 1 == lines.size() ||
                                std::make_tuple(word.page, word.y) <
                                    std::make_tuple(lines[k + 1].page, lines[k + 1].y - raise);
            if (below && before && !word.text.startsWith("---")) {
                under << word.text;
                apart += word.page != line.page ? 1 : 0;
                if (word.text.contains(letter) && !symbols.contains(word.text)) {
                    broken << word.text;
                }
            }
        }
        EXPECT_EQ(apart, 0) << where << ", question " << line.question << " on page "
                            << line.page + 1 << ", its tables: " << under.join(' ').toStdString();
        EXPECT_GE(under.size(), k + 1 < lines.size() ? 4 : 0)
            << where << ", question " << line.question;
    }
    broken.removeDuplicates();
    EXPECT_TRUE(broken.empty()) << where << ", symbols apart: " << broken.join(' ').toStdString();
}

// The text runs of the preview's page files, placed in the files' units, and
// each page's count of black boxes (the tables' borders).
std::vector<PlacedText> PageFileRuns(const QString& prefix, std::vector<int>& blackBoxes) {
    std::vector<PlacedText> runs;
    for (int page = 0; page < RichEditEMFPrint::kMaxPages; ++page) {
        QFile file(RichEditEMFPrint::PageFileName(prefix, page));
        if (!file.open(QIODevice::ReadOnly)) {
            break;  // the document ends on an earlier page
        }
        const QByteArray data = file.readAll();
        const auto boxes = emftest::Boxes(data);
        blackBoxes.push_back(static_cast<int>(std::count_if(
            boxes.begin(), boxes.end(), [](const auto& box) { return box.brushColor == 0; })));
        for (const emftest::TextRun& run : emftest::TextRuns(data)) {
            const double x = run.reference.x();
            runs.push_back({page, x, 1.0 * run.reference.y(), run.text,
                            x + std::accumulate(run.advances.begin(), run.advances.end(), 0)});
        }
    }
    return runs;
}

TEST(PaperLayout, EveryQuestionLineIsWholeAndEverySheetInOneColumnOnA4) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice (libreoffice-writer-nogui) is missing";
    QTemporaryDir folder;
    const struct {
        QuantityKind kind;
        const char* name;
    } kinds[] = {{QuantityKind::Length, "Long"}, {QuantityKind::Area, "Surf"},
                 {QuantityKind::Volume, "Vol"},  {QuantityKind::Capacity, "Capa"},
                 {QuantityKind::Mass, "Mass"},   {QuantityKind::Duration, "Duree"}};
    struct Saved {
        QString file;
        QRectF printable;  // in points
        bool key;
        std::optional<QuantityKind> tables;  // in a key with tables, its kind
        testsupport::ReadDocument read;      // that key's questions
        char mark;                           // and decimal mark
        std::vector<QString> answers;        // in a key, each left answer
    };
    std::vector<Saved> saved;
    for (const auto& k : kinds) {
        for (int level = 1; level <= 3; ++level) {
            for (const double edge : {0.0, 4.2, 6.0, 10.0}) {
                for (int seed = 0; seed < kSeeds; ++seed) {
                    const bool durations = k.kind == QuantityKind::Duration;
                    if (durations && seed == kTwoUnitsSeed) {
                        continue;
                    }
                    const QString name = folder.filePath(
                        QString("%1_N%2_%3mm_%4").arg(k.name).arg(level).arg(edge).arg(seed));
                    const std::string where = QFileInfo(name).fileName().toStdString();
                    Ufiche::MersenneRandomSource random(
                        static_cast<std::uint32_t>(seed * 1000 + level * 10 + std::lround(edge)));
                    // Every other sheet hides the separator: the first line then starts
                    // with a blank.
                    Ufiche::WorksheetSettings settings{level,
                                                       kQuestions,
                                                       1,
                                                       "Nom :",
                                                       "Convertir en ",
                                                       (seed + level) % 2 == 0,
                                                       std::string(60, '-')};
                    settings.ConversionTables = seed == kTablesSeed;
                    settings.TwoUnitMeasures = seed == kTwoUnitsSeed;
                    settings.DecimalComma = edge > 5.0;
                    const auto sheet = Ufiche::BuildWorksheet(k.kind, settings, random);
                    QPrinter printer(QPrinter::HighResolution);
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setPageLayout(
                        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(edge, edge, edge, edge), QPageLayout::Millimeter));
                    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
                    for (const bool subject : {true, false}) {
                        const QString file = subject ? name : name + "_Cor";
                        const std::string what = where + (subject ? "" : "_Cor");
                        const bool tables = settings.ConversionTables && !subject && !durations;
                        const auto read = testsupport::ReadWorksheet(
                            subject ? sheet.Subject : sheet.AnswerKey, k.kind, settings, !subject);
                        // Each left answer as it stands on its line, in a key
                        // with measures of several parts.
                        std::vector<QString> answers(kQuestions + 1);
                        for (std::size_t q = 0; !subject && q < read.questions.size(); ++q) {
                            for (const auto& part : read.questions[q].left.answered) {
                                answers[q + 1] +=
                                    QString::fromLatin1(
                                        QByteArray::fromStdString(
                                            part.number +
                                            testsupport::SymbolOf(k.kind, part.unit).letters +
                                            (part.plural ? "s" : "")))
                                        .remove(' ');
                            }
                        }
                        const auto kind = tables ? std::optional(k.kind) : std::nullopt;
                        platform::TRxRichEdit pane;
                        Ufiche::LoadRtfIntoPane(pane, subject ? sheet.Subject : sheet.AnswerKey);
                        printer.setOutputFileName(file + ".pdf");
                        pane.PrintAsJob(printer, "Sujet");
                        const auto words = PdfWords(file + ".pdf");
                        const auto lines = QuestionLines(words, kRaisePoints, answers);
                        ExpectWholeLines(lines, 0.5, !subject, true, what + " printed");
                        ExpectWordsPlaced(words, lines, printable.left(), printable.right(),
                                          kRaisePoints, what + " printed", kind);
                        // The preview's first two pages: each line on its printed page.
                        RichEditEMFPrint::RichEditToEMF(pane, file + "_page",
                                                        [&]() -> QPrinter& { return printer; });
                        const double dots = printer.resolution() / 72.0;
                        std::vector<int> blackBoxes;
                        const auto runs = PageFileRuns(file + "_page", blackBoxes);
                        const auto shown = QuestionLines(runs, kRaisePoints * dots, answers);
                        const auto lastPrinted = std::max_element(
                            lines.begin(), lines.end(),
                            [](const PaperLine& a, const PaperLine& b) { return a.page < b.page; });
                        ASSERT_NE(lastPrinted, lines.end()) << what;
                        EXPECT_EQ(static_cast<int>(blackBoxes.size()),
                                  std::min(RichEditEMFPrint::kMaxPages, lastPrinted->page + 1))
                            << what << ": pages previewed and printed";
                        ExpectWholeLines(shown, 0.5 * dots, !subject, false, what + " previewed",
                                         tables ? 10 : 20);
                        ExpectWordsPlaced(runs, shown, 0, printable.width() * dots,
                                          kRaisePoints * dots, what + " previewed", kind);
                        for (const PaperLine& line : shown) {
                            const auto printed = std::find_if(
                                lines.begin(), lines.end(),
                                [&](const PaperLine& p) { return p.question == line.question; });
                            ASSERT_NE(printed, lines.end()) << what;
                            EXPECT_EQ(line.page, printed->page)
                                << what << " previewed, question " << line.question;
                        }
                        // A line's two tables have a dozen cell edges at least.
                        for (int page = 0; tables && page < static_cast<int>(blackBoxes.size());
                             ++page) {
                            const auto linesOnPage = std::count_if(
                                shown.begin(), shown.end(),
                                [page](const PaperLine& line) { return line.page == page; });
                            EXPECT_GE(blackBoxes[static_cast<std::size_t>(page)], 12 * linesOnPage)
                                << what << " previewed, page " << page + 1 << ": borders";
                        }
                        pane.SetStreamMode(platform::TRxRichEdit::StreamMode::WholeContent);
                        pane.SaveToFile(file + ".rtf", Ufiche::SavedPage(printer.pageLayout()));
                        saved.push_back({file + ".rtf", printable, !subject, kind,
                                         tables ? read : testsupport::ReadDocument{},
                                         settings.DecimalComma ? ',' : '.', answers});
                    }
                }
            }
        }
    }
    // LibreOffice takes long to start, but one run for hundreds of files has
    // been seen to stop half-way: a few runs. The keys with tables are also
    // saved again as RTF, as LibreOffice reads them.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", folder.path());  // a profile of its own
    QStringList files[2];
    for (const Saved& file : saved) {
        files[0] << file.file;
        if (file.tables) {
            files[1] << file.file;
        }
    }
    for (const char* format : {"pdf", "rtf"}) {
        const QStringList& batch = files[format[0] == 'r'];
        for (qsizetype first = 0; first < batch.size(); first += 48) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(soffice, QStringList{"--headless", "--convert-to", format, "--outdir",
                                               folder.filePath(QString("lo") + format)} +
                                       batch.mid(first, 48));
            ASSERT_TRUE(process.waitForFinished(300000)) << "soffice did not finish";
        }
    }
    for (const Saved& file : saved) {
        const QString base = QFileInfo(file.file).completeBaseName();
        const QString pdf = folder.filePath("lopdf/" + base + ".pdf");
        const std::string where = base.toStdString() + " in LibreOffice";
        ASSERT_TRUE(QFile::exists(pdf)) << where;
        const auto words = PdfWords(pdf);
        const auto lines = QuestionLines(words, kRaisePoints, file.answers);
        ExpectWholeLines(lines, 0.5, file.key, true, where);
        ExpectWordsPlaced(words, lines, file.printable.left(), file.printable.right(), kRaisePoints,
                          where, file.tables);
        if (file.tables) {
            QFile again(folder.filePath("lortf/" + base + ".rtf"));
            ASSERT_TRUE(again.open(QIODevice::ReadOnly)) << where;
            const auto tables = testsupport::TablesOf(again.readAll().toStdString());
            ASSERT_EQ(tables.size(), 2 * file.read.questions.size()) << where;
            for (std::size_t q = 0; q < file.read.questions.size(); ++q) {
                SCOPED_TRACE(where + ", question " + std::to_string(q + 1));
                const auto& question = file.read.questions[q];
                testsupport::ExpectFilledTable(*file.tables, tables[2 * q], question.left,
                                               file.read.target, file.mark);
                testsupport::ExpectFilledTable(*file.tables, tables[2 * q + 1], question.right,
                                               file.read.target, file.mark);
            }
        }
    }
}

}  // namespace
