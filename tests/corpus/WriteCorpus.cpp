// Writes every worksheet of the property tests' corpus (each kind, level and
// seed): its base name, subject, answer key and exercise keys, one field a
// line. Builds for other processors or backends write the same bytes, or
// their answers differ.
#include <cstdio>
#include <string>

#include "PropertyCorpus.h"
#include "Ufiche/generation/MersenneRandomSource.h"
#include "Ufiche/generation/Worksheet.h"

int main(int argc, char** argv) {
    std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : stdout;
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    for (int kind = 0; kind <= static_cast<int>(Uconvers::QuantityKind::Duration); ++kind) {
        for (int level = 1; level <= 3; ++level) {
            for (int index = 0; index < testsupport::kCorpusWorksheetsPerCase; ++index) {
                Ufiche::MersenneRandomSource random(testsupport::CorpusSeed(index, level));
                // Every seventh sheet with measures in two units, in both marks.
                Ufiche::WorksheetSettings settings = testsupport::CorpusSettings(index, level);
                settings.TwoUnitMeasures = index % 7 == 2;
                settings.DecimalComma = index % 14 == 9;
                const auto sheet = Ufiche::BuildWorksheet(static_cast<Uconvers::QuantityKind>(kind),
                                                          settings, random);
                std::string record =
                    sheet.DefaultFileName + "\n" + sheet.Subject + "\n" + sheet.AnswerKey + "\n";
                for (const std::string& key : sheet.DrawnExercises) {
                    record += key + "\n";
                }
                std::fwrite(record.data(), 1, record.size(), out);
            }
        }
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
