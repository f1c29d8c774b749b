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
// by at most `raise` (superscripts), in the order of the pages.
std::vector<PaperLine> QuestionLines(std::vector<PlacedText> pieces, double raise);

}  // namespace testsupport
