#pragma once

#include <QColor>
#include <QString>
#include <QTextCharFormat>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class QTextDocument;

namespace platform {
class TRxRichEdit;
}

namespace testsupport {

// What a teacher sees of one character of a pane: the character and its
// formatting. Paragraph ends appear as U+2029 with the format of an empty
// paragraph's line where the paragraph is empty.
struct ShownCharacter {
    QChar character;
    QString family;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignNormal;
    std::optional<QRgb> foreground;
    std::optional<QRgb> background;

    bool operator==(const ShownCharacter&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ShownCharacter& shown);

// Every character of the document, paragraph ends included, the last one
// excluded.
std::vector<ShownCharacter> ShownCharacters(const QTextDocument& document);

// The characters of a document as Windows-1252 text ("\n" between paragraphs).
std::string ShownText(const QTextDocument& document);

// Reads bytes into the pane through a stream, as a file or a generation would.
void LoadStream(platform::TRxRichEdit& pane, const std::string& bytes);

// The Windows-1252 bytes of a UTF-8 source literal ("é" -> "\xE9").
std::string Cp1252(const char* utf8);

}  // namespace testsupport
