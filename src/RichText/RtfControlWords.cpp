#include "RichText/RtfControlWords.h"

#include <algorithm>
#include <array>

#include "RichText/RtfInterpreter.h"
#include "RichText/RtfTokenizer.h"

namespace RichText {
namespace {

// Windows' rich-edit control keeps sizes within 1638 points, which also
// spares the font engine absurd requests.
constexpr int kLargestHalfPoints = 3276;

bool SwitchValue(const RtfToken& token) {
    return !token.hasParameter || token.parameter != 0;
}

struct ControlWord {
    std::string_view name;
    RtfControlWordHandler handler;
};

void SkipGroup(RtfInterpreter& reader, const RtfToken&) {
    reader.SetDestination(RtfDestination::Skip);
}
void Underline(RtfInterpreter& reader, const RtfToken& token) {
    reader.Characters().underline = SwitchValue(token);
}
void NotCentred(RtfInterpreter& reader, const RtfToken&) {
    reader.Paragraph().centred = false;
}

// A cell's borders: each side's word, then the border's style words, of
// which only whether the style is "none" matters.
template <RtfCellSide side>
void CellBorder(RtfInterpreter& reader, const RtfToken&) {
    if (RtfDocumentBuilder* row = reader.RowDefinition()) {
        row->BeginCellBorder(side);
    }
}
void BorderStyle(RtfInterpreter& reader, const RtfToken&) {
    if (RtfDocumentBuilder* row = reader.RowDefinition()) {
        row->SetBorderStyle(false);
    }
}
void NoBorder(RtfInterpreter& reader, const RtfToken&) {
    if (RtfDocumentBuilder* row = reader.RowDefinition()) {
        row->SetBorderStyle(true);
    }
}
void RowBorder(RtfInterpreter& reader, const RtfToken&) {
    if (RtfDocumentBuilder* row = reader.RowDefinition()) {
        row->BeginRowBorder();
    }
}
// The border of a paragraph: the style words after it are not a cell's.
void EndBorder(RtfInterpreter& reader, const RtfToken&) {
    if (RtfDocumentBuilder* row = reader.RowDefinition()) {
        row->EndCellBorder();
    }
}

// Control words that the reader understands, sorted by name. Any other word
// is ignored, along with the "\ansicpg" code page: text is always read as
// Windows-1252, the code page of every document of the program.
constexpr auto kControlWords = std::to_array<ControlWord>({
    {"b", [](RtfInterpreter& r, const RtfToken& t) { r.Characters().bold = SwitchValue(t); }},
    {"bin", [](RtfInterpreter& r, const RtfToken& t) { r.SkipBinary(t.parameter); }},
    {"blue",
     [](RtfInterpreter& r, const RtfToken& t) {
         r.SetColourComponent(RtfInterpreter::Component::Blue, t.parameter);
     }},
    {"box", EndBorder},
    {"brdrb", EndBorder},
    {"brdrbar", EndBorder},
    {"brdrbtw", EndBorder},
    {"brdrdash", BorderStyle},
    {"brdrdashd", BorderStyle},
    {"brdrdashdd", BorderStyle},
    {"brdrdashdotstr", BorderStyle},
    {"brdrdashsm", BorderStyle},
    {"brdrdb", BorderStyle},
    {"brdrdot", BorderStyle},
    {"brdremboss", BorderStyle},
    {"brdrengrave", BorderStyle},
    {"brdrframe", BorderStyle},
    {"brdrhair", BorderStyle},
    {"brdrinset", BorderStyle},
    {"brdrl", EndBorder},
    {"brdrnil", NoBorder},
    {"brdrnone", NoBorder},
    {"brdroutset", BorderStyle},
    {"brdrr", EndBorder},
    {"brdrs", BorderStyle},
    {"brdrsh", BorderStyle},
    {"brdrt", EndBorder},
    {"brdrtbl", NoBorder},
    {"brdrth", BorderStyle},
    {"brdrthtnlg", BorderStyle},
    {"brdrthtnmg", BorderStyle},
    {"brdrthtnsg", BorderStyle},
    {"brdrtnthlg", BorderStyle},
    {"brdrtnthmg", BorderStyle},
    {"brdrtnthsg", BorderStyle},
    {"brdrtnthtnlg", BorderStyle},
    {"brdrtnthtnmg", BorderStyle},
    {"brdrtnthtnsg", BorderStyle},
    {"brdrtriple", BorderStyle},
    {"brdrwavy", BorderStyle},
    {"brdrwavydb", BorderStyle},
    {"bullet", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2022'); }},
    {"cell", [](RtfInterpreter& r, const RtfToken&) { r.EndCell(); }},
    {"cellx",
     [](RtfInterpreter& r, const RtfToken& t) {
         if (RtfDocumentBuilder* row = r.RowDefinition()) {
             row->AddCellBoundary(t.parameter);
         }
     }},
    {"cf", [](RtfInterpreter& r, const RtfToken& t) { r.Characters().foreground = t.parameter; }},
    {"clbrdrb", CellBorder<RtfCellSide::Bottom>},
    {"clbrdrl", CellBorder<RtfCellSide::Left>},
    {"clbrdrr", CellBorder<RtfCellSide::Right>},
    {"clbrdrt", CellBorder<RtfCellSide::Top>},
    {"colortbl", [](RtfInterpreter& r, const RtfToken&) { r.BeginColourTable(); }},
    {"deff", [](RtfInterpreter& r, const RtfToken& t) { r.SetDefaultFont(t.parameter); }},
    {"deftab",
     [](RtfInterpreter& r, const RtfToken& t) {
         if (t.parameter > 0) {
             r.SetDefaultTabTwips(t.parameter);
         }
     }},
    {"emdash", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2014'); }},
    {"endash", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2013'); }},
    {"f",
     [](RtfInterpreter& r, const RtfToken& t) {
         if (r.Destination() == RtfDestination::FontTable) {
             r.BeginFontEntry(t.parameter);
         } else {
             r.Characters().font = t.parameter;
         }
     }},
    {"filetbl", SkipGroup},
    {"fonttbl",
     [](RtfInterpreter& r, const RtfToken&) { r.SetDestination(RtfDestination::FontTable); }},
    {"footer", SkipGroup},
    {"footerf", SkipGroup},
    {"footerl", SkipGroup},
    {"footerr", SkipGroup},
    {"footnote", SkipGroup},
    {"fs",
     [](RtfInterpreter& r, const RtfToken& t) {
         const int size = t.hasParameter ? t.parameter : kRtfDefaultHalfPoints;
         if (size > 0) {  // a size of zero or less leaves the size as it was
             r.Characters().halfPoints = std::min(size, kLargestHalfPoints);
         }
     }},
    {"green",
     [](RtfInterpreter& r, const RtfToken& t) {
         r.SetColourComponent(RtfInterpreter::Component::Green, t.parameter);
     }},
    {"header", SkipGroup},
    {"headerf", SkipGroup},
    {"headerl", SkipGroup},
    {"headerr", SkipGroup},
    {"highlight",
     [](RtfInterpreter& r, const RtfToken& t) { r.Characters().highlight = t.parameter; }},
    {"i", [](RtfInterpreter& r, const RtfToken& t) { r.Characters().italic = SwitchValue(t); }},
    {"info", SkipGroup},
    {"intbl", [](RtfInterpreter& r, const RtfToken& t) { r.Paragraph().inTable = SwitchValue(t); }},
    {"keepn",
     [](RtfInterpreter& r, const RtfToken& t) { r.Paragraph().keepWithNext = SwitchValue(t); }},
    {"ldblquote", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u201C'); }},
    {"line", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2028'); }},
    {"listoverridetable", SkipGroup},
    {"listtable", SkipGroup},
    {"lquote", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2018'); }},
    // A nested table's cells end paragraphs of the enclosing cell; its row
    // definitions and the text for readers without nested tables are skipped.
    {"nestcell", [](RtfInterpreter& r, const RtfToken&) { r.EndParagraph(); }},
    {"nesttableprops", SkipGroup},
    {"nonesttables", SkipGroup},
    {"nosupersub",
     [](RtfInterpreter& r,
        const RtfToken&) { r.Characters().alignment = RtfVerticalAlignment::Normal; }},
    {"object", SkipGroup},
    {"par", [](RtfInterpreter& r, const RtfToken&) { r.EndParagraph(); }},
    {"pard", [](RtfInterpreter& r, const RtfToken&) { r.ResetParagraph(); }},
    {"pict", SkipGroup},
    {"plain", [](RtfInterpreter& r, const RtfToken&) { r.ResetCharacters(); }},
    {"qc", [](RtfInterpreter& r, const RtfToken&) { r.Paragraph().centred = true; }},
    {"qd", NotCentred},
    {"qj", NotCentred},
    {"ql", NotCentred},
    {"qr", NotCentred},
    {"rdblquote", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u201D'); }},
    {"red",
     [](RtfInterpreter& r,
        const RtfToken& t) { r.SetColourComponent(RtfInterpreter::Component::Red, t.parameter); }},
    {"revtbl", SkipGroup},
    {"row", [](RtfInterpreter& r, const RtfToken&) { r.EndRow(); }},
    {"rquote", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\u2019'); }},
    {"rtf", nullptr},
    {"strike",
     [](RtfInterpreter& r, const RtfToken& t) { r.Characters().strike = SwitchValue(t); }},
    {"strikedl",
     [](RtfInterpreter& r, const RtfToken& t) { r.Characters().strike = SwitchValue(t); }},
    {"stylesheet", SkipGroup},
    {"sub", [](RtfInterpreter& r,
               const RtfToken&) { r.Characters().alignment = RtfVerticalAlignment::Subscript; }},
    {"super",
     [](RtfInterpreter& r,
        const RtfToken&) { r.Characters().alignment = RtfVerticalAlignment::Superscript; }},
    {"tab", [](RtfInterpreter& r, const RtfToken&) { r.AppendText(u'\t'); }},
    {"trbrdrb", RowBorder},
    {"trbrdrh", RowBorder},
    {"trbrdrl", RowBorder},
    {"trbrdrr", RowBorder},
    {"trbrdrt", RowBorder},
    {"trbrdrv", RowBorder},
    {"trgaph",
     [](RtfInterpreter& r, const RtfToken& t) {
         if (RtfDocumentBuilder* row = r.RowDefinition()) {
             row->SetRowGap(t.parameter);
         }
     }},
    {"trkeep",
     [](RtfInterpreter& r, const RtfToken& t) {
         if (RtfDocumentBuilder* row = r.RowDefinition()) {
             row->SetRowKeptTogether(SwitchValue(t));
         }
     }},
    {"trowd",
     [](RtfInterpreter& r, const RtfToken&) {
         if (RtfDocumentBuilder* row = r.RowDefinition()) {
             row->BeginRowDefinition();
         }
     }},
    {"u", [](RtfInterpreter& r, const RtfToken& t) { r.AppendUnicode(t.parameter); }},
    {"uc", [](RtfInterpreter& r,
              const RtfToken& t) { r.Group().unicodeFallback = std::max(0, t.parameter); }},
    {"ul", Underline},
    {"uld", Underline},
    {"uldash", Underline},
    {"uldb", Underline},
    {"ulnone", [](RtfInterpreter& r, const RtfToken&) { r.Characters().underline = false; }},
    {"ulth", Underline},
    {"ulw", Underline},
    {"ulwave", Underline},
    {"xe", SkipGroup},
});

static_assert(std::is_sorted(kControlWords.begin(), kControlWords.end(),
                             [](const ControlWord& a, const ControlWord& b) {
                                 return a.name < b.name;
                             }));

}  // namespace

RtfControlWordHandler FindControlWord(std::string_view name) {
    const auto found = std::lower_bound(
        kControlWords.begin(), kControlWords.end(), name,
        [](const ControlWord& word, std::string_view key) { return word.name < key; });
    return found != kControlWords.end() && found->name == name ? found->handler : nullptr;
}

}  // namespace RichText
