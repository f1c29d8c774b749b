#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Uconvers/Uconvers.h"

namespace Ufiche {

// A pupil's link: what draws one worksheet (kind, level, question count,
// decimal mark, measures in two units, code), written in the query of the
// page's address, "?eleve=1&type=0&niveau=2&lignes=20&virgule=1&deuxunites=0&code=4K7QX".
struct PupilLink {
    Uconvers::QuantityKind Kind = Uconvers::QuantityKind::Length;
    int Level = 1;
    int QuestionCount = 20;
    bool DecimalComma = true;
    bool TwoUnitMeasures = false;
    std::uint32_t Code = 0;
    // What the query asked that no worksheet has, and what is shown instead,
    // in French (Windows-1252): "Le niveau 7 n'existe pas : niveau 3."
    std::vector<std::string> Changes;
};

// Reads a link's query (with or without its "?", percent-encoded as a browser
// leaves it). A value that is missing, unreadable or out of range takes the
// nearest one a worksheet has (numbers brought within their limits, an
// unknown kind lengths, an unreadable code 00000), and says so in Changes;
// the first of repeated names counts, unknown names are ignored.
PupilLink ReadPupilLink(std::string_view query);

// The link's query, "?eleve=1&...": the same text for the same worksheet, so
// that it can name what a pupil typed on it.
std::string PupilLinkQuery(const PupilLink& link);

}  // namespace Ufiche
