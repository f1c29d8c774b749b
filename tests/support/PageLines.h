#pragma once

#include <QString>

#include <vector>

// The question lines of a worksheet as they stand on paper, read from the
// text placed on its pages: the words of a PDF (PdfWords), the text runs of a
// page file.
namespace testsupport {

struct PlacedText {
    int page = 0;
    double x = 0;
    double y = 0;  // of the text's foot, growing down the page
    QString text;
    double right = 0;  // where the text ends
};

struct PaperLine {
    int question = 0;
    int equalSigns = 0;  // 2 where both exercises stand on the line
    double rightX = -1;  // where the text after the first "=" starts
    // In an answer key: where the right exercise starts, after the left
    // answer's number, unit and raised exponent.
    double keyRightX = -1;
    int page = 0;
    double y = 0;
};

// Each line that starts with "n°/", with the text on the same foot or raised
// by at most `raise` (superscripts), in the order of the pages. A subject's
// exercise may ask for units of its own, a dotted blank and a unit each: its
// right exercise starts at the first number after the first "=". A key's left
// answer may have several parts: `leftAnswers[n]` holds the text that question
// n's left answer shows on its foot, blanks left out ("97min30s"); where
// there is none, the answer is a number and one unit.
std::vector<PaperLine> QuestionLines(std::vector<PlacedText> pieces, double raise,
                                     const std::vector<QString>& leftAnswers = {});

}  // namespace testsupport
