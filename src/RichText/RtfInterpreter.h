#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "RichText/RtfDocument.h"
#include "RichText/RtfDocumentBuilder.h"
#include "RichText/RtfTokenizer.h"

namespace RichText {

// Where the text of a group goes.
enum class RtfDestination { Text, FontTable, ColourTable, Skip };

// What a group opens with and what its closing brace restores.
struct RtfGroupState {
    RtfCharacterControls characters;
    RtfParagraphControls paragraph;
    RtfDestination destination = RtfDestination::Text;
    int unicodeFallback = 1;  // "\ucN": bytes that stand in for each "\uN"
};

// Gives the tokens of an RTF stream their meaning: follows the groups with a
// stack of states, reads the font and colour tables, skips the destinations
// that carry no text, and hands the text to the document builder. The
// control-word handlers act on it through its public operations.
class RtfInterpreter {
public:
    explicit RtfInterpreter(std::string_view input) : m_tokens(input) {}

    RtfDocument Read();

    RtfCharacterControls& Characters() { return m_state.characters; }
    RtfGroupState& Group() { return m_state; }
    RtfDestination Destination() const { return m_state.destination; }
    void SetDestination(RtfDestination destination) { m_state.destination = destination; }
    void SetDefaultFont(int font) { m_document.SetDefaultFont(font); }
    void SetDefaultTabTwips(int twips) { m_document.SetDefaultTabTwips(twips); }
    void ResetCharacters() { m_state.characters = RtfCharacterControls{}; }
    RtfParagraphControls& Paragraph() { return m_state.paragraph; }
    void ResetParagraph() { m_state.paragraph = RtfParagraphControls{}; }
    // The builder, for the words that define a table's rows, in the body's
    // text only (never in a table of fonts or colours).
    RtfDocumentBuilder* RowDefinition() {
        return m_state.destination == RtfDestination::Text ? &m_document : nullptr;
    }

    void AppendText(char16_t character);
    void AppendUnicode(int value);
    void EndParagraph();
    void EndCell();
    void EndRow();
    void SkipBinary(int count) {
        m_tokens.SkipBytes(count > 0 ? static_cast<std::size_t>(count) : 0);
    }

    void BeginFontEntry(int entry);
    void BeginColourTable();
    // The red, green or blue component of the colour-table entry being read.
    enum class Component { Red, Green, Blue };
    void SetColourComponent(Component component, int value);

private:
    void OpenGroup();
    void CloseGroup();
    void Text(std::string_view bytes);
    void Byte(unsigned char value);
    void ControlWord(const RtfToken& token);
    void ControlSymbol(const RtfToken& token);
    void CommitFontEntry();
    void CommitColourEntry();

    RtfTokenizer m_tokens;
    RtfDocumentBuilder m_document;

    RtfGroupState m_state;
    std::vector<RtfGroupState> m_stack;
    std::size_t m_groupsBeyondDeepest = 0;
    int m_fallbackToSkip = 0;

    int m_fontEntry = -1;
    std::u16string m_fontName;

    // The colour-table entry being read; an entry with no component is
    // automatic.
    int m_colour[3] = {0, 0, 0};
    bool m_colourGiven = false;

    std::u16string m_textRun;  // a text token's bytes as characters, reused
};

}  // namespace RichText
