#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RichText/RtfDocument.h"
#include "Uconvers/Uconvers.h"
#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// A class set of different sheets, one per pupil: the codes in sequence from
// the first, each sheet made from its code with the same kind and settings
// and naming its code in both headings, so that each pupil's sheet and its
// answer key are found together.
struct SheetSet {
    std::vector<std::uint32_t> Codes;
    std::vector<std::string> Subjects;    // whole documents, in the codes' order
    std::vector<std::string> AnswerKeys;  // the answer key of each subject, same order
};

SheetSet BuildSheetSet(Uconvers::QuantityKind kind, const WorksheetSettings& settings,
                       std::uint32_t firstCode, int count);

// Whole generated documents (each RtfHeader, its body, "}") as one document,
// one per page: the shared prologue once, with the page's paper and margins
// when one is given (so that a word processor breaks lines where the program
// does), then each body in turn. Each body after the first opens with the
// paragraph and character defaults that the prologue leaves (a bold, a size,
// a highlight or a table's state left at the end of one sheet never reaches
// the next) and starts a new page.
std::string JoinSheetDocuments(const std::vector<std::string>& documents,
                               const std::optional<RichText::RtfPage>& page = std::nullopt);

}  // namespace Ufiche
