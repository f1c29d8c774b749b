#include "PdfTools.h"

#include <QProcess>
#include <QRegularExpression>

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

std::vector<testsupport::PlacedText> PdfWords(const QString& pdf) {
    const QString html = Run("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"(-?[\\d.]+)\" yMin=\"-?[\\d.]+\" xMax=\"(-?[\\d.]+)\" "
                       "yMax=\"(-?[\\d.]+)\">"
                       "([^<]*)</word>"));
    std::vector<testsupport::PlacedText> words;
    int page = -1;
    for (const QRegularExpressionMatch& match : item.globalMatch(html)) {
        if (match.captured(1).isEmpty()) {
            ++page;
            continue;
        }
        words.push_back({page, match.captured(1).toDouble(), match.captured(3).toDouble(),
                         match.captured(4).replace("&amp;", "&"), match.captured(2).toDouble()});
    }
    return words;
}
