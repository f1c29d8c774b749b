// Writes the worksheets that the web page's tests compare with the page's
// WebAssembly build of the core: for each kind, level and decimal mark, a
// few seeds of the property corpus, with titles that hold accented letters,
// tags, braces and backslashes, so that the page's conversion to
// Windows-1252 and the texts' escapes are crossed too.
// Each record: a line "kind level comma seed questions spacing separator",
// then the base name, the subject and the answer key, one a line. Every
// document is first read back with the worksheet reader, so that the corpus
// holds whole worksheets of the asked length.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "PropertyCorpus.h"
#include "Ufiche/generation/PortableRandomSource.h"
#include "Ufiche/generation/Worksheet.h"
#include "WorksheetLayout.h"

namespace {

constexpr int kWorksheetsPerCase = 12;

// The same texts, in UTF-8, are typed into the page by the tests.
const char* const kTitleLine = "Nom : <b>Pr\xe9nom</b> : Classe : 5\xb0 }}}} {\\*\\x}";
const char* const kInstructionText = "Convertissez en ";
const char* const kSeparatorLine = "- \x97 - C:\\dossier {bonus}";

std::string WriteRecord(int kind, int level, bool comma, int index) {
    const std::uint32_t seed = testsupport::CorpusSeed(index, level);
    Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(index, level);
    settings.TitleLine = kTitleLine;
    settings.InstructionText = kInstructionText;
    settings.SeparatorLine = kSeparatorLine;
    settings.DecimalComma = comma;
    const auto quantity = static_cast<Uconvers::QuantityKind>(kind);
    Ufiche::PortableRandomSource random(seed);
    const auto sheet = Ufiche::BuildWorksheet(quantity, settings, random);
    for (const bool answerKey : {false, true}) {
        const auto read = testsupport::ReadWorksheet(answerKey ? sheet.AnswerKey : sheet.Subject,
                                                     quantity, settings, answerKey);
        if (static_cast<int>(read.questions.size()) != settings.QuestionCount) {
            throw std::runtime_error(sheet.DefaultFileName + ": wrong number of questions");
        }
    }
    char header[96];
    std::snprintf(header, sizeof header, "%d %d %d %u %d %d %d\n", kind, level, comma ? 1 : 0, seed,
                  settings.QuestionCount, settings.LineSpacing, settings.SeparatorShown ? 1 : 0);
    return header + sheet.DefaultFileName + "\n" + sheet.Subject + "\n" + sheet.AnswerKey + "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    try {
        for (int kind = 0; kind <= static_cast<int>(Uconvers::QuantityKind::Mass); ++kind) {
            for (int level = 1; level <= 3; ++level) {
                for (const bool comma : {false, true}) {
                    for (int index = 0; index < kWorksheetsPerCase; ++index) {
                        const std::string record = WriteRecord(kind, level, comma, index);
                        std::fwrite(record.data(), 1, record.size(), out);
                    }
                }
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
