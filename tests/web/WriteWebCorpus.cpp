// Writes the worksheets that the web page's tests compare with the page's
// WebAssembly build of the core: for each kind, level and decimal mark, a
// few seeds of the property corpus, with titles that hold accented letters,
// tags, braces and backslashes, so that the page's conversion to
// Windows-1252 and the texts' escapes are crossed too.
// Each record: a line "kind level comma seed questions spacing separator
// tables twoUnits",
// then the base name, the subject and the answer key, one a line. Every
// document is first read back with the worksheet reader, so that the corpus
// holds whole worksheets of the asked length.
// Besides CORPUS, CORPUS.codes holds the digests of the worksheets of 200
// codes for each kind, level and mark, named in the headings or not: a line
// "kind level comma twoUnits questions spacing separator tables code shown
// subject key", the last two
// the FNV-1a digests of the documents' bytes, in hexadecimal.
// Usage: fiche_web_corpus CORPUS [MODELS FILE...]. With MODELS, it also
// writes what the native RTF reader makes of each subject and answer key and
// of each RTF file named after it, for the page's reader to make the same: a
// count, then for each document its number of units and the units of its
// 16-bit form, little-endian.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "PropertyCorpus.h"
#include "RichText/RtfModelCodec.h"
#include "RichText/RtfReader.h"
#include "Ufiche/generation/PortableRandomSource.h"
#include "Ufiche/generation/SheetCode.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"

namespace {

constexpr int kWorksheetsPerCase = 12;

// The same texts, in UTF-8, are typed into the page by the tests.
const char* const kTitleLine = "Nom : <b>Pr\xe9nom</b> : Classe : 5\xb0 }}}} {\\*\\x}";
const char* const kInstructionText = "Convertissez en ";
const char* const kSeparatorLine = "- \x97 - C:\\dossier {bonus}";

// The documents that the reader makes of `inputs`, in their 16-bit form.
void WriteModels(const char* path, const std::vector<std::string>& inputs) {
    std::string out;
    const auto number = [&](std::size_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    number(inputs.size());
    for (const std::string& input : inputs) {
        const std::u16string units = RichText::EncodeRtfDocument(RichText::ReadRtf(input));
        number(units.size());
        for (const char16_t unit : units) {
            out += static_cast<char>(unit & 0xFF);
            out += static_cast<char>(unit >> 8);
        }
    }
    std::ofstream(path, std::ios::binary) << out;
}

std::string WriteRecord(int kind, int level, bool comma, int index,
                        std::vector<std::string>& documents) {
    const std::uint32_t seed = testsupport::CorpusSeed(index, level);
    Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(index, level);
    settings.TitleLine = kTitleLine;
    settings.InstructionText = kInstructionText;
    settings.SeparatorLine = kSeparatorLine;
    settings.DecimalComma = comma;
    settings.TwoUnitMeasures = index % 4 == 3;
    const auto quantity = static_cast<Uconvers::QuantityKind>(kind);
    // As the page's press after seeding: a code drawn, then its sheet.
    Ufiche::PortableRandomSource random(seed);
    const auto sheet =
        Ufiche::BuildWorksheetOfCode(quantity, settings, Ufiche::DrawSheetCode(random), false);
    for (const bool answerKey : {false, true}) {
        const auto read = testsupport::ReadWorksheet(answerKey ? sheet.AnswerKey : sheet.Subject,
                                                     quantity, settings, answerKey);
        if (static_cast<int>(read.questions.size()) != settings.QuestionCount) {
            throw std::runtime_error(sheet.DefaultFileName + ": wrong number of questions");
        }
    }
    documents.push_back(sheet.Subject);
    documents.push_back(sheet.AnswerKey);
    char header[96];
    std::snprintf(header, sizeof header, "%d %d %d %u %d %d %d %d %d\n", kind, level, comma ? 1 : 0,
                  seed, settings.QuestionCount, settings.LineSpacing,
                  settings.SeparatorShown ? 1 : 0, settings.ConversionTables ? 1 : 0,
                  settings.TwoUnitMeasures ? 1 : 0);
    return header + sheet.DefaultFileName + "\n" + sheet.Subject + "\n" + sheet.AnswerKey + "\n";
}

std::uint32_t Digest(const std::string& bytes) {
    std::uint32_t hash = 2166136261u;
    for (const char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * 16777619u;
    }
    return hash;
}

constexpr int kCodesPerCase = 200;

// The digests of one case's worksheets: codes spread over the whole range,
// the first and the last among them.
std::string CodeRecords(int kind, int level, bool comma) {
    Ufiche::WorksheetSettings settings =
        testsupport::CorpusSettings(kind * 7 + level * 2 + (comma ? 1 : 0), level);
    settings.TitleLine = kTitleLine;
    settings.InstructionText = kInstructionText;
    settings.SeparatorLine = kSeparatorLine;
    settings.DecimalComma = comma;
    settings.TwoUnitMeasures = (kind + level) % 2 == 1;
    std::string out;
    for (int index = 0; index < kCodesPerCase; ++index) {
        const std::uint32_t code =
            index == 0
                ? 0
                : (testsupport::CorpusSeed(index, level) * 2654435761u) % Ufiche::kSheetCodeCount;
        const bool shown = index % 3 != 0;
        const auto sheet = Ufiche::BuildWorksheetOfCode(static_cast<Uconvers::QuantityKind>(kind),
                                                        settings, code, shown);
        char line[128];
        std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d %d %s %d %08x %08x\n", kind, level,
                      comma ? 1 : 0, settings.TwoUnitMeasures ? 1 : 0, settings.QuestionCount,
                      settings.LineSpacing, settings.SeparatorShown ? 1 : 0,
                      settings.ConversionTables ? 1 : 0, Ufiche::SheetCodeText(code).c_str(),
                      shown ? 1 : 0, Digest(sheet.Subject), Digest(sheet.AnswerKey));
        out += line;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<std::string> documents;
    std::string codes;
    try {
        for (int kind = 0; kind <= static_cast<int>(Uconvers::QuantityKind::Duration); ++kind) {
            for (int level = 1; level <= 3; ++level) {
                for (const bool comma : {false, true}) {
                    codes += CodeRecords(kind, level, comma);
                    for (int index = 0; index < kWorksheetsPerCase; ++index) {
                        const std::string record =
                            WriteRecord(kind, level, comma, index, documents);
                        std::fwrite(record.data(), 1, record.size(), out);
                    }
                }
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (argc > 1) {
        std::ofstream(std::string(argv[1]) + ".codes", std::ios::binary) << codes;
    }
    if (argc > 2) {
        for (int i = 3; i < argc; ++i) {
            std::ifstream file(argv[i], std::ios::binary);
            documents.emplace_back(std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>());
        }
        WriteModels(argv[2], documents);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
