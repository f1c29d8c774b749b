#include "platform/richedit/RtfDocumentBuilder.h"

#include <QFont>
#include <QTextBlock>

namespace platform {

void RtfDocumentBuilder::SetDefaultFont(int entry) {
    m_defaultFont = entry;
    TablesChanged();
}

void RtfDocumentBuilder::DefineFont(int entry, const QString& name) {
    m_fonts[entry] = name;
    TablesChanged();
}

void RtfDocumentBuilder::BeginColourTable() {
    m_colours.clear();
    TablesChanged();
}

void RtfDocumentBuilder::AddColour(const std::optional<QColor>& colour) {
    m_colours.push_back(colour);
    TablesChanged();
}

void RtfDocumentBuilder::Append(QChar character, const RtfCharacterState& state) {
    StartRun(state);
    m_run += character;
}

void RtfDocumentBuilder::Append(const QString& text, const RtfCharacterState& state) {
    if (!text.isEmpty()) {
        StartRun(state);
        m_run += text;
    }
}

void RtfDocumentBuilder::EndParagraph(const RtfCharacterState& state) {
    Flush();
    const QTextCharFormat format = FormatOf(state);
    if (m_cursor.block().length() == 1) {
        m_cursor.setBlockCharFormat(format);  // an empty line keeps its size
    }
    m_cursor.insertBlock(QTextBlockFormat(), format);
}

void RtfDocumentBuilder::NoteDocumentEnd(const RtfCharacterState& state) {
    m_formatAtDocumentEnd = FormatOf(state);
}

void RtfDocumentBuilder::Finish(const RtfCharacterState& state) {
    Flush();
    if (m_cursor.block().length() == 1) {
        // An empty last line keeps the size in force at the end of the
        // document, before its closing brace restored the defaults.
        m_cursor.setBlockCharFormat(m_formatAtDocumentEnd ? *m_formatAtDocumentEnd
                                                          : FormatOf(state));
    }
}

// A run goes on while the state stays the same; text in another state
// starts a new one.
void RtfDocumentBuilder::StartRun(const RtfCharacterState& state) {
    if (!m_run.isEmpty() && state == m_runState) {
        return;
    }
    Flush();
    m_runState = state;
    m_runFormat = FormatOf(state);
}

void RtfDocumentBuilder::Flush() {
    if (!m_run.isEmpty()) {
        m_cursor.insertText(m_run, m_runFormat);
        m_run.clear();
    }
}

void RtfDocumentBuilder::TablesChanged() {
    Flush();  // the pending text keeps the format it started with
    m_formats.clear();
}

std::optional<QColor> RtfDocumentBuilder::Colour(int entry) const {
    if (entry <= 0 || static_cast<std::size_t>(entry) >= m_colours.size()) {
        return std::nullopt;  // automatic, or an entry the table lacks
    }
    return m_colours[static_cast<std::size_t>(entry)];
}

QTextCharFormat RtfDocumentBuilder::FormatOf(const RtfCharacterState& state) {
    for (const auto& [known, format] : m_formats) {
        if (known == state) {
            return format;
        }
    }
    QTextCharFormat format;
    auto font = m_fonts.find(state.font < 0 ? m_defaultFont : state.font);
    if (font == m_fonts.end()) {
        font = m_fonts.find(m_defaultFont);
    }
    if (font != m_fonts.end()) {
        format.setFontFamilies(QStringList{font->second});
    }
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    format.setVerticalAlignment(state.alignment);
    // RTF kerns character pairs only where "\kerningN" asks for it, which the
    // reader does not follow: text is laid out unkerned, as word processors
    // show such documents ("11" in Arial is wider than kerned). With no pair
    // to adjust, Latin text also needs no shaping, which spares most of the
    // time a pane takes to lay a worksheet out.
    format.setFontStyleStrategy(QFont::PreferNoShaping);
    if (const auto text = Colour(state.foreground)) {
        format.setForeground(*text);
    }
    if (const auto background = Colour(state.highlight)) {
        format.setBackground(*background);
    }
    // A document with many distinct states (a damaged or hostile one) keeps
    // the first ones only, so that the search stays short.
    constexpr std::size_t kMostFormats = 32;
    if (m_formats.size() < kMostFormats) {
        m_formats.emplace_back(state, format);
    }
    return format;
}

}  // namespace platform
