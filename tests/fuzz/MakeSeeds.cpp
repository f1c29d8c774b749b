// Writes the fuzzers' seed corpus from real outputs of the program: teacher
// texts and headings (markup), generated and pane-written documents (RTF),
// a settings file written by the window (INI), page files (EMF). Run by hand:
//   fiche_fuzz_seeds tests/fuzz/corpus
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>

#include <QPrinter>

#include "RichEditEMFPrint/RichEditEMFPrint.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/panes/LoadRtfIntoPane.h"
#include "Ufiche/window/TForm1.h"
#include "platform/richedit/RtfWriter.h"
#include "platform/richedit/TRxRichEdit.h"

namespace {

void Write(const QString& folder, const QString& name, const QByteArray& data) {
    QDir().mkpath(folder);
    QFile file(folder + "/" + name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(data);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString corpus = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "corpus";

    const char* const texts[] = {
        "Convertir en ",
        "En s\xE9parant correctement les tranches, veuillez convertir en ",
        "Nom :                       Pr\xE9nom :                             Classe :",
        "<b>Fiche n\xB0 3</b> <i>(6e B)</i>",
        "<ce=rouge><cf=jaune>Attention</cf=auto></ce=auto><br><tab>suite",
        "<te=24><times>Grand titre<te=18><arial>",
        "{\\b gras}\\par \\'e9 \\u8364? <sup>2</sup><sub>3</sub><s>barr\xE9</s>",
        "----------------------------------------",
    };
    int index = 0;
    for (const char* text : texts) {
        Write(corpus + "/markup", QString("text%1").arg(index++), QByteArray(text));
    }

    QDir().mkpath(corpus + "/emf");
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(corpus + "/emf/unused.pdf");
    int document = 0;
    for (int kind = 0; kind < 4; ++kind) {
        for (int level = 1; level <= 3; ++level) {
            Ufiche::MersenneRandomSource random(static_cast<std::uint32_t>(kind * 10 + level));
            const Ufiche::WorksheetSettings settings{
                level, 6, kind % 3, texts[3 + kind % 3], texts[level % 2], kind % 2 == 0, texts[7]};
            const auto sheet =
                Ufiche::BuildWorksheet(static_cast<Uconvers::QuantityKind>(kind), settings, random);
            Write(corpus + "/rtf", QString("generated%1").arg(document++),
                  QByteArray::fromStdString(sheet.Subject));
            Write(corpus + "/rtf", QString("generated%1").arg(document++),
                  QByteArray::fromStdString(sheet.AnswerKey));
            if (level == 1) {
                // A page file of the subject, on a 96 dpi A4 reference page.
                platform::TRxRichEdit pane;
                Ufiche::LoadRtfIntoPane(pane, sheet.Subject);
                RichEditEMFPrint::RenderPageToEMF(printer, pane,
                                                  corpus + QString("/emf/page%1").arg(kind),
                                                  QRect(QPoint(0, 0), QPoint(21000, 29700)), 0);
            }
            if (kind == 0) {
                platform::TRxRichEdit pane;
                Ufiche::LoadRtfIntoPane(pane, sheet.AnswerKey);
                const QTextDocument& content = *pane.document();
                Write(corpus + "/rtf", QString("saved%1").arg(level),
                      QByteArray::fromStdString(
                          platform::WriteRtf(content, 0, content.characterCount() - 1, 1440)));
            }
        }
    }

    QTemporaryDir folder;
    {
        Ufiche::TForm1 form;
        form.SetSettingsFileName(folder.filePath("fiches-conversions.ini"));
        form.show();
        form.findChild<QSpinBox*>("spMaxLigne")->setValue(40);
        form.close();
    }
    QFile settings(folder.filePath("fiches-conversions.ini"));
    if (settings.open(QIODevice::ReadOnly)) {
        Write(corpus + "/ini", "written", settings.readAll());
    }
    Write(corpus + "/ini", "edited",
          "[tform1]\n  SPMAXLIGNE_VALUE = 99 \n\n[TForm1.Combo1_Items]\nCount=2\nItem0=\"a\"\n"
          "Item1='Convertir en '\r\n");
    QFile::remove(corpus + "/emf/unused.pdf");
    return 0;
}
