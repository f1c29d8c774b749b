#include "platform/richedit/RtfReader.h"

#include <QTextCursor>

#include "platform/codepage/Codepage.h"
#include "platform/richedit/RtfInterpreter.h"

namespace platform {

bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start).starts_with("{\\rtf");
}

RtfDocumentSettings ReadRtf(QTextCursor& cursor, std::string_view rtf) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    RtfInterpreter reader(cursor, rtf);
    const RtfDocumentSettings settings = reader.Read();
    cursor.endEditBlock();
    return settings;
}

void ReadPlainText(QTextCursor& cursor, std::string_view text) {
    QString unicode;
    unicode.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            unicode += QChar('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c != '\0') {
            unicode += UnicodeFromWindows1252(static_cast<unsigned char>(c));
        }
    }
    cursor.beginEditBlock();
    cursor.insertText(unicode);  // each "\n" becomes a paragraph break
    cursor.endEditBlock();
}

}  // namespace platform
