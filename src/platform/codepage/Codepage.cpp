#include "platform/codepage/Codepage.h"

#include "RichText/Windows1252.h"

namespace platform {

QChar UnicodeFromWindows1252(unsigned char byte) {
    return QChar(RichText::UnicodeFromWindows1252(byte));
}

std::optional<unsigned char> Windows1252FromUnicode(QChar character) {
    return RichText::Windows1252FromUnicode(character.unicode());
}

QString FromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        text += UnicodeFromWindows1252(static_cast<unsigned char>(byte));
    }
    return text;
}

std::string ToWindows1252(const QString& text, char replacement) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text[i];
        if (const auto byte = Windows1252FromUnicode(character)) {
            bytes += static_cast<char>(*byte);
            continue;
        }
        bytes += replacement;
        if (character.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;  // one character, one replacement
        }
    }
    return bytes;
}

}  // namespace platform
