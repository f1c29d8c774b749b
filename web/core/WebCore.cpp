// The core's entry points for the web page, as plain C functions that the
// page's JavaScript calls on the WebAssembly module. Texts cross as
// Windows-1252 bytes, the core's own encoding: the settings in with their
// length, the documents out NUL-terminated; the page converts them from and
// to the browser's text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <emscripten/emscripten.h>

#include "RichText/RtfModelCodec.h"
#include "RichText/RtfReader.h"
#include "RichText/RtfWriter.h"
#include "Ufiche/document/GiftExport.h"
#include "Ufiche/document/PupilAnswers.h"
#include "Ufiche/document/PupilLink.h"
#include "Ufiche/generation/PortableRandomSource.h"
#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/generation/Worksheet.h"
#include "Ufiche/settings/WorksheetSettingLines.h"

namespace {

// The page's pseudo-random source, re-seeded by the page as the window
// re-seeds its own at each activation; every generation draws on from where
// the previous one stopped.
Ufiche::PortableRandomSource& PageRandom() {
    static Ufiche::PortableRandomSource random;
    return random;
}

// The last worksheet, kept until the next generation so that the page can
// read its three texts.
Ufiche::GeneratedWorksheet& LastWorksheet() {
    static Ufiche::GeneratedWorksheet sheet;
    return sheet;
}

// The settings the last worksheet was drawn with, for its pupil link and
// the decimal mark of its answers.
Ufiche::WorksheetSettings& LastSettings() {
    static Ufiche::WorksheetSettings settings{};
    return settings;
}

// The texts handed to the page by the pupil's functions, kept until the next call.
std::string& LastPupilText() {
    static std::string text;
    return text;
}

// The title line the last worksheet was made with, for its GIFT file.
std::string& LastTitle() {
    static std::string title;
    return title;
}

// The last GIFT file written, kept until the next.
std::string& LastGift() {
    static std::string gift;
    return gift;
}

// The last document read, in its 16-bit form, kept until the next reading so
// that the page can copy it out.
std::u16string& LastDocument() {
    static std::u16string units;
    return units;
}

// The last RTF written, kept until the next writing.
std::string& LastRtf() {
    static std::string rtf;
    return rtf;
}

// Kinds in the order of Uconvers::QuantityKind: 0 lengths to 5 durations. Out of
// range kinds give lengths, as no button asks for them. The settings are one
// Windows-1252 text of `length` bytes, "key=value" lines under the settings
// table's keys (Ufiche/settings/WorksheetSettingLines.h); a NUL in a text is
// a character like any other.
void GenerateOfCode(int kind, const char* settingLines, int length, std::uint32_t code,
                    bool codeShown) {
    const int lastKind = static_cast<int>(Uconvers::QuantityKind::Duration);
    const Ufiche::WorksheetSettings settings = Ufiche::ReadWorksheetSettingLines(
        std::string_view(settingLines, length > 0 ? static_cast<std::size_t>(length) : 0),
        Ufiche::Edition::Page);
    LastTitle() = settings.TitleLine;
    LastSettings() = settings;
    LastWorksheet() = Ufiche::BuildWorksheetOfCode(
        static_cast<Uconvers::QuantityKind>(kind >= 0 && kind <= lastKind ? kind : 0), settings,
        code, codeShown);
}

// A Windows-1252 text as a JSON string, UTF-8.
void AppendJson(std::string& json, const std::string& text) {
    json += '"';
    for (const char c : Ufiche::Utf8FromWindows1252(text)) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr std::string_view kHex = "0123456789abcdef";
            json += "\\u00";
            json += kHex[(c >> 4) & 0xF];
            json += kHex[c & 0xF];
        } else {
            json += c;
        }
    }
    json += '"';
}

// A question's or a unit's markup as the pupil reads it: tags dropped, digits
// in superscript as superscript characters ("m\xB2"), as the documents show them.
std::string PlainText(const std::string& markup) {
    std::string text;
    bool superscript = false;
    for (std::size_t at = 0; at < markup.size(); ++at) {
        if (markup[at] == '<') {
            const std::size_t end = std::min(markup.find('>', at), markup.size());
            const std::string tag = markup.substr(at + 1, end - at - 1);
            if (tag == "sup" || tag == "/sup") {
                superscript = tag == "sup";
            }
            at = end;
        } else if (superscript && markup[at] >= '1' && markup[at] <= '3') {
            text += "\xB9\xB2\xB3"[markup[at] - '1'];
        } else {
            text += markup[at];
        }
    }
    return text;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void FicheSeed(std::uint32_t seed) {
    PageRandom().Seed(seed);
}

// A press: a new code drawn from the page's source, and its sheet, the code
// not named in the headings.
EMSCRIPTEN_KEEPALIVE void FicheGenerate(int kind, const char* settingLines, int length) {
    GenerateOfCode(kind, settingLines, length, Ufiche::DrawSheetCode(PageRandom()), false);
}

// The sheet of a typed code (NUL-terminated), named in both headings when
// `codeShown` is not 0. Returns 0 and keeps the last sheet when the text is
// no code.
EMSCRIPTEN_KEEPALIVE int FicheGenerateOfCode(int kind, const char* settingLines, int length,
                                             const char* typedCode, int codeShown) {
    const std::optional<std::uint32_t> code = Ufiche::ParseSheetCode(typedCode);
    if (!code) {
        return 0;
    }
    GenerateOfCode(kind, settingLines, length, *code, codeShown != 0);
    return 1;
}

// The last worksheet's code, its five characters.
EMSCRIPTEN_KEEPALIVE const char* FicheCode() {
    static std::string text;
    text = Ufiche::SheetCodeText(LastWorksheet().Code);
    return text.c_str();
}

// The last worksheet's pupil link, its query ("?eleve=1&type=0&..."); empty
// before any worksheet.
EMSCRIPTEN_KEEPALIVE const char* FichePupilLink() {
    const Ufiche::WorksheetSettings& settings = LastSettings();
    const Ufiche::PupilLink link{.Kind = LastWorksheet().Kind,
                                 .Level = settings.Level,
                                 .QuestionCount = settings.QuestionCount,
                                 .DecimalComma = settings.DecimalComma,
                                 .TwoUnitMeasures = settings.TwoUnitMeasures,
                                 .Code = LastWorksheet().Code};
    LastPupilText() =
        LastWorksheet().ExerciseLines.empty() ? std::string() : Ufiche::PupilLinkQuery(link);
    return LastPupilText().c_str();
}

// The sheet of a pupil's link, read from the query of `length` bytes: a JSON
// object (UTF-8) with the link as it reads ("link"), the heading, what was
// changed to make a sheet of it ("changes"), and each exercise's question,
// units of its blanks and answers as the answer key writes them.
EMSCRIPTEN_KEEPALIVE const char* FichePupilOpen(const char* query, int length) {
    const Ufiche::PupilLink link = Ufiche::ReadPupilLink(
        std::string_view(query, length > 0 ? static_cast<std::size_t>(length) : 0));
    Ufiche::WorksheetSettings settings{};
    settings.Level = link.Level;
    settings.QuestionCount = link.QuestionCount;
    settings.DecimalComma = link.DecimalComma;
    settings.TwoUnitMeasures = link.TwoUnitMeasures;
    LastSettings() = settings;
    LastWorksheet() = Ufiche::BuildWorksheetOfCode(link.Kind, settings, link.Code, true);
    std::string json = "{\"link\":";
    AppendJson(json, Ufiche::PupilLinkQuery(link));
    json += ",\"heading\":";
    AppendJson(json,
               LastWorksheet().DefaultFileName + " - code " + Ufiche::SheetCodeText(link.Code));
    json += ",\"changes\":[";
    for (std::size_t i = 0; i < link.Changes.size(); ++i) {
        json += i == 0 ? "" : ",";
        AppendJson(json, link.Changes[i]);
    }
    json += "],\"exercises\":[";
    bool first = true;
    for (const Ufiche::WorksheetExercise& exercise : Ufiche::ExercisesOf(LastWorksheet())) {
        json += first ? "{\"question\":" : ",{\"question\":";
        first = false;
        AppendJson(json, PlainText(exercise.question));
        for (const char* field : {"units", "answers"}) {
            json += ",\"";
            json += field;
            json += "\":[";
            for (std::size_t i = 0; i < exercise.answer.size(); ++i) {
                json += i == 0 ? "" : ",";
                const Ufiche::AnswerPart& part = exercise.answer[i];
                AppendJson(json, field[0] == 'u'
                                     ? PlainText(part.unit)
                                     : Ufiche::AnswerShown(part.number, link.DecimalComma));
            }
            json += ']';
        }
        json += '}';
    }
    json += "]}";
    LastPupilText() = std::move(json);
    return LastPupilText().c_str();
}

// The pupil's answers to the last worksheet's blanks, UTF-8 lines of
// `length` bytes in the blanks' order, marked: a JSON object with the score
// ("17 / 20") and each blank's mark, exercise by exercise (0 right, 1 wrong,
// 2 not a number, 3 not answered).
EMSCRIPTEN_KEEPALIVE const char* FichePupilMark(const char* typed, int length) {
    std::vector<std::string> answers;
    std::string_view lines(typed, length > 0 ? static_cast<std::size_t>(length) : 0);
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        answers.emplace_back(lines.substr(0, end));
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
    const Ufiche::SheetMarks marks =
        Ufiche::MarkSheet(Ufiche::ExercisesOf(LastWorksheet()), answers);
    std::string json = "{\"score\":\"" + Ufiche::ScoreText(marks) + "\",\"marks\":[";
    for (std::size_t i = 0; i < marks.marks.size(); ++i) {
        json += i == 0 ? "[" : ",[";
        for (std::size_t j = 0; j < marks.marks[i].size(); ++j) {
            json += j == 0 ? "" : ",";
            json += std::to_string(static_cast<int>(marks.marks[i][j]));
        }
        json += ']';
    }
    json += "]}";
    LastPupilText() = std::move(json);
    return LastPupilText().c_str();
}

EMSCRIPTEN_KEEPALIVE const char* FicheDefaultFileName() {
    return LastWorksheet().DefaultFileName.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* FicheSubject() {
    return LastWorksheet().Subject.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* FicheAnswerKey() {
    return LastWorksheet().AnswerKey.c_str();
}

// The last worksheet's exercises as a Moodle GIFT file, UTF-8 and
// NUL-terminated (it holds no NUL); empty before any worksheet.
EMSCRIPTEN_KEEPALIVE const char* FicheGift() {
    LastGift() = LastWorksheet().ExerciseLines.empty()
                     ? std::string()
                     : Ufiche::GiftFile(LastWorksheet(), LastTitle());
    return LastGift().c_str();
}

// Reads `length` bytes of RTF at `rtf` with the core's reader; returns the
// document's units, `FicheDocumentLength()` of them.
EMSCRIPTEN_KEEPALIVE const char16_t* FicheReadRtf(const char* rtf, int length) {
    LastDocument() = RichText::EncodeRtfDocument(
        RichText::ReadRtf(std::string_view(rtf, static_cast<std::size_t>(std::max(length, 0)))));
    return LastDocument().data();
}

EMSCRIPTEN_KEEPALIVE int FicheDocumentLength() {
    return static_cast<int>(LastDocument().size());
}

// Writes the document of `length` units at `units` (its 16-bit form) as RTF
// with the core's writer; returns the bytes, `FicheRtfLength()` of them, or
// none when the units hold no whole document.
EMSCRIPTEN_KEEPALIVE const char* FicheWriteRtf(const char16_t* units, int length) {
    const auto document = RichText::DecodeRtfDocument(
        std::u16string_view(units, static_cast<std::size_t>(std::max(length, 0))));
    LastRtf() = document ? RichText::WriteRtf(*document) : std::string();
    return LastRtf().data();
}

EMSCRIPTEN_KEEPALIVE int FicheRtfLength() {
    return static_cast<int>(LastRtf().size());
}

}  // extern "C"
