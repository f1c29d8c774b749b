#include "PdfTools.h"

#include <QProcess>

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

QString PdfText(const QString& pdf) {
    return Run("pdftotext", {"-layout", pdf, "-"});
}

QString PdfInfo(const QString& pdf) {
    return Run("pdfinfo", {pdf});
}
