#include "RichText/RtfInterpreter.h"

#include <algorithm>

#include "RichText/RtfControlWords.h"
#include "RichText/Windows1252.h"

namespace RichText {
namespace {

// Deeper groups are counted but share the state of the deepest one, so that a
// stream of opening braces cannot grow the state stack without limit.
constexpr std::size_t kDeepestGroup = 4096;

// Control characters other than the tab carry no text in RTF.
bool IsTextByte(unsigned char value) {
    return value >= 0x20 || value == '\t';
}

// Spaces around a font's name, plain or no-break, are not part of it.
std::u16string_view TrimmedName(std::u16string_view name) {
    const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\u00A0'; };
    while (!name.empty() && isSpace(name.front())) {
        name.remove_prefix(1);
    }
    while (!name.empty() && isSpace(name.back())) {
        name.remove_suffix(1);
    }
    return name;
}

}  // namespace

RtfDocument RtfInterpreter::Read() {
    for (RtfToken token = m_tokens.Next(); token.kind != RtfToken::Kind::End;
         token = m_tokens.Next()) {
        switch (token.kind) {
            case RtfToken::Kind::GroupOpen:
                OpenGroup();
                break;
            case RtfToken::Kind::GroupClose:
                CloseGroup();
                break;
            case RtfToken::Kind::Text:
                Text(token.text);
                break;
            case RtfToken::Kind::HexByte:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    Byte(token.byte);
                }
                break;
            case RtfToken::Kind::ControlWord:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    ControlWord(token);
                }
                break;
            case RtfToken::Kind::ControlSymbol:
                if (m_fallbackToSkip > 0) {
                    --m_fallbackToSkip;
                } else {
                    ControlSymbol(token);
                }
                break;
            case RtfToken::Kind::End:
                break;
        }
    }
    if (m_state.destination == RtfDestination::FontTable) {
        CommitFontEntry();
    }
    return m_document.Finish(m_state.characters, m_state.paragraph);
}

void RtfInterpreter::OpenGroup() {
    m_fallbackToSkip = 0;
    if (m_stack.size() >= kDeepestGroup) {
        ++m_groupsBeyondDeepest;
        return;
    }
    m_stack.push_back(m_state);
}

void RtfInterpreter::CloseGroup() {
    m_fallbackToSkip = 0;
    if (m_groupsBeyondDeepest > 0) {
        --m_groupsBeyondDeepest;
        return;
    }
    if (m_stack.empty()) {
        return;  // more "}" than "{": ignored, the text after it is still read
    }
    if (m_state.destination == RtfDestination::FontTable) {
        CommitFontEntry();
    }
    if (m_stack.size() == 1) {
        m_document.NoteDocumentEnd(m_state.characters, m_state.paragraph);
    }
    m_state = m_stack.back();
    m_stack.pop_back();
}

void RtfInterpreter::Text(std::string_view bytes) {
    if (m_fallbackToSkip > 0) {
        const auto skipped = std::min<std::size_t>(bytes.size(), m_fallbackToSkip);
        m_fallbackToSkip -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
    }
    if (m_state.destination != RtfDestination::Text) {
        for (const char c : bytes) {
            Byte(static_cast<unsigned char>(c));
        }
        return;
    }
    // Body text, the bulk of a document, goes to the builder a run at a time.
    m_textRun.clear();
    for (const char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (IsTextByte(value)) {
            m_textRun += UnicodeFromWindows1252(value);
        }
    }
    m_document.Append(m_textRun, m_state.characters);
}

void RtfInterpreter::Byte(unsigned char value) {
    switch (m_state.destination) {
        case RtfDestination::Text:
            if (IsTextByte(value)) {
                AppendText(UnicodeFromWindows1252(value));
            }
            break;
        case RtfDestination::FontTable:
            if (value == ';') {
                CommitFontEntry();
            } else if (m_fontEntry >= 0 && value >= 0x20) {
                m_fontName += UnicodeFromWindows1252(value);
            }
            break;
        case RtfDestination::ColourTable:
            if (value == ';') {
                CommitColourEntry();
            }
            break;
        case RtfDestination::Skip:
            break;
    }
}

void RtfInterpreter::ControlWord(const RtfToken& token) {
    if (m_state.destination == RtfDestination::Skip) {
        return;
    }
    if (const RtfControlWordHandler handler = FindControlWord(token.text)) {
        handler(*this, token);
    }
}

void RtfInterpreter::ControlSymbol(const RtfToken& token) {
    if (m_state.destination == RtfDestination::Skip || token.text.empty()) {
        return;
    }
    switch (token.text.front()) {
        case '*':  // a destination that a reader may ignore: none is needed here
            SetDestination(RtfDestination::Skip);
            break;
        case '~':
            AppendText(u'\u00A0');  // no-break space
            break;
        case '_':
            AppendText(u'\u2011');  // no-break hyphen
            break;
        default:  // "\-" optional hyphen, "\|", "\:" and unknown symbols
            break;
    }
}

void RtfInterpreter::AppendText(char16_t character) {
    if (m_state.destination == RtfDestination::Text) {
        m_document.Append(character, m_state.characters);
    }
}

void RtfInterpreter::AppendUnicode(int value) {
    // RTF writes characters above 32767 as negative numbers.
    const int unit = value < 0 ? value + 65536 : value;
    if (unit > 0 && unit <= 0xFFFF && (unit >= 0x20 || unit == '\t')) {
        AppendText(static_cast<char16_t>(unit));
    }
    m_fallbackToSkip = m_state.unicodeFallback;
}

void RtfInterpreter::EndParagraph() {
    if (m_state.destination == RtfDestination::Text) {
        m_document.EndParagraph(m_state.characters, m_state.paragraph);
    }
}

void RtfInterpreter::EndCell() {
    if (m_state.destination == RtfDestination::Text) {
        m_document.EndCell(m_state.characters, m_state.paragraph);
    }
}

void RtfInterpreter::EndRow() {
    if (m_state.destination == RtfDestination::Text) {
        m_document.EndRow(m_state.characters, m_state.paragraph);
    }
}

void RtfInterpreter::BeginFontEntry(int entry) {
    CommitFontEntry();
    m_fontEntry = entry;
}

void RtfInterpreter::CommitFontEntry() {
    if (m_fontEntry >= 0) {
        const std::u16string_view name = TrimmedName(m_fontName);
        if (!name.empty()) {
            m_document.DefineFont(m_fontEntry, name);
        }
    }
    m_fontEntry = -1;
    m_fontName.clear();
}

void RtfInterpreter::BeginColourTable() {
    SetDestination(RtfDestination::ColourTable);
    m_document.BeginColourTable();
    m_colour[0] = m_colour[1] = m_colour[2] = 0;
    m_colourGiven = false;
}

void RtfInterpreter::SetColourComponent(Component component, int value) {
    if (m_state.destination == RtfDestination::ColourTable) {
        m_colour[static_cast<int>(component)] = std::clamp(value, 0, 255);
        m_colourGiven = true;
    }
}

void RtfInterpreter::CommitColourEntry() {
    std::optional<RtfColour> colour;
    if (m_colourGiven) {
        colour = RtfColour{static_cast<std::uint8_t>(m_colour[0]),
                           static_cast<std::uint8_t>(m_colour[1]),
                           static_cast<std::uint8_t>(m_colour[2])};
    }
    m_document.AddColour(colour);
    m_colour[0] = m_colour[1] = m_colour[2] = 0;
    m_colourGiven = false;
}

}  // namespace RichText
