#include <QTextCursor>
#include <QTextDocument>

#include <string>
#include <string_view>

#include "FuzzTargets.h"
#include "RichText/RtfReader.h"
#include "platform/richedit/RtfReader.h"
#include "platform/richedit/RtfWriter.h"

namespace {

// Control characters other than tab and paragraph ends do not survive a
// reload: the reader drops them, by design, wherever they come from.
QString WithoutControlCharacters(QString text) {
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != '\t' && c != '\n'; });
    return text;
}

QString ReadIntoDocument(QTextDocument& document, std::string_view bytes) {
    QTextCursor cursor(&document);
    if (RichText::LooksLikeRtf(bytes)) {
        platform::InsertRtfDocument(cursor, RichText::ReadRtf(bytes));
    } else {
        platform::ReadPlainText(cursor, bytes);
    }
    return document.toPlainText();
}

}  // namespace

// Any stream loaded into a pane's document; what the pane then writes out
// must read back to the same text.
int FuzzRtfReader(const std::uint8_t* data, std::size_t size) {
    QTextDocument document;
    const QString text =
        ReadIntoDocument(document, std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written =
        platform::WriteRtf(document, 0, document.characterCount() - 1, 1440);
    QTextDocument again;
    if (WithoutControlCharacters(ReadIntoDocument(again, written)) !=
        WithoutControlCharacters(text)) {
        __builtin_trap();
    }
    return 0;
}
