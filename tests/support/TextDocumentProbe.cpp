#include "TextDocumentProbe.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/codepage/Codepage.h"
#include "platform/richedit/TRxRichEdit.h"

namespace testsupport {
namespace {

ShownCharacter Describe(QChar character, const QTextCharFormat& format) {
    ShownCharacter shown;
    shown.character = character;
    const QStringList families = format.fontFamilies().toStringList();
    shown.family = families.isEmpty() ? QString() : families.front();
    shown.points = format.fontPointSize();
    shown.bold = format.fontWeight() > QFont::Medium;
    shown.italic = format.fontItalic();
    shown.underline = format.fontUnderline();
    shown.strike = format.fontStrikeOut();
    shown.alignment = format.verticalAlignment();
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        shown.foreground = format.foreground().color().rgb();
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() != Qt::NoBrush) {
        shown.background = format.background().color().rgb();
    }
    return shown;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const ShownCharacter& shown) {
    out << "'" << QString(shown.character).toStdString() << "' U+" << std::hex
        << static_cast<int>(shown.character.unicode()) << std::dec << " "
        << shown.family.toStdString() << " " << shown.points << "pt" << (shown.bold ? " bold" : "")
        << (shown.italic ? " italic" : "") << (shown.underline ? " underline" : "")
        << (shown.strike ? " strike" : "")
        << (shown.alignment == QTextCharFormat::AlignSuperScript ? " super" : "")
        << (shown.alignment == QTextCharFormat::AlignSubScript ? " sub" : "");
    if (shown.foreground) {
        out << " fg#" << std::hex << (*shown.foreground & 0xFFFFFF) << std::dec;
    }
    if (shown.background) {
        out << " bg#" << std::hex << (*shown.background & 0xFFFFFF) << std::dec;
    }
    return out;
}

std::vector<ShownCharacter> ShownCharacters(const QTextDocument& document) {
    std::vector<ShownCharacter> shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (const QChar character : fragment.text()) {
                shown.push_back(Describe(character, fragment.charFormat()));
            }
        }
        if (block.next().isValid()) {
            shown.push_back(Describe(QChar::ParagraphSeparator,
                                     block.length() == 1 ? block.charFormat() : QTextCharFormat()));
        }
    }
    return shown;
}

std::string ShownText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        text += block.text();
        if (block.next().isValid()) {
            text += QChar('\n');
        }
    }
    return platform::ToWindows1252(text);
}

void LoadStream(platform::TRxRichEdit& pane, const std::string& bytes) {
    QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    pane.LoadFromStream(stream);
}

std::string Cp1252(const char* utf8) {
    return platform::ToWindows1252(QString::fromUtf8(utf8));
}

}  // namespace testsupport
