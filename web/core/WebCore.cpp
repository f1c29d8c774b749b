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

#include <emscripten/emscripten.h>

#include "RichText/RtfModelCodec.h"
#include "RichText/RtfReader.h"
#include "RichText/RtfWriter.h"
#include "Ufiche/document/GiftExport.h"
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
    LastWorksheet() = Ufiche::BuildWorksheetOfCode(
        static_cast<Uconvers::QuantityKind>(kind >= 0 && kind <= lastKind ? kind : 0), settings,
        code, codeShown);
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
