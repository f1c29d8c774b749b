#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RichText/RtfDocument.h"

namespace RichText {

// The character properties as the control words set them and the groups
// restore them: fonts and colours still as entries of the tables, which the
// builder resolves when text arrives.
struct RtfCharacterControls {
    int font = -1;  // font-table entry; -1 is the document's default font
    int halfPoints = kRtfDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    RtfVerticalAlignment alignment = RtfVerticalAlignment::Normal;
    int foreground = 0;  // colour-table entries; 0 is automatic
    int highlight = 0;

    bool operator==(const RtfCharacterControls&) const = default;
};

// Builds the document that an RTF stream carries: it keeps the font and
// colour tables, resolves the character controls into formats with the
// tables in force when the text arrives, and gathers the text into
// paragraphs of runs, a run being the longest stretch of text in one format.
class RtfDocumentBuilder {
public:
    void SetDefaultFont(int entry);
    void DefineFont(int entry, std::u16string_view name);
    // Starts a new colour table; the entries follow in order.
    void BeginColourTable();
    // An entry with no colour is the automatic colour.
    void AddColour(const std::optional<RtfColour>& colour);
    void SetDefaultTabTwips(int twips) { m_document.defaultTabTwips = twips; }

    void Append(char16_t character, const RtfCharacterControls& controls);
    void Append(std::u16string_view text, const RtfCharacterControls& controls);
    void EndParagraph(const RtfCharacterControls& controls);
    // The controls in force when the document's own group closed; the mark
    // of the last paragraph takes them.
    void NoteDocumentEnd(const RtfCharacterControls& controls);
    // The document read; `controls` are the ones in force at the end of the
    // stream, for the last paragraph's mark when the document's group never
    // closed.
    RtfDocument Finish(const RtfCharacterControls& controls);

private:
    // The run that text in `controls` goes on, a new one when its format
    // differs from the last run's.
    std::u16string& RunFor(const RtfCharacterControls& controls);
    // Forgets the formats resolved so far, after a change of the tables they
    // were resolved from.
    void TablesChanged();
    const RtfFormat& FormatOf(const RtfCharacterControls& controls);
    std::optional<RtfColour> Colour(int entry) const;

    RtfDocument m_document;
    RtfParagraph m_paragraph;  // the paragraph being read
    std::optional<RtfFormat> m_markAtDocumentEnd;

    // The controls of the text last appended, while the tables and the
    // paragraph stay as they are: more text in them goes on the same run
    // without resolving its format again.
    std::optional<RtfCharacterControls> m_lastControls;
    // The formats resolved so far for the controls met, while the tables stay
    // as they are: a document switches back and forth between a few.
    std::vector<std::pair<RtfCharacterControls, RtfFormat>> m_formats;
    RtfFormat m_uncached;  // the format of controls beyond the cache
};

}  // namespace RichText
