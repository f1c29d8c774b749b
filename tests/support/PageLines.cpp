#include "PageLines.h"

#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace testsupport {

std::vector<PaperLine> QuestionLines(std::vector<PlacedText> pieces, double raise) {
    std::sort(pieces.begin(), pieces.end(), [](const PlacedText& a, const PlacedText& b) {
        return std::tie(a.page, a.y, a.x) < std::tie(b.page, b.y, b.x);
    });
    static const QRegularExpression lineStart(QStringLiteral("^\\s*(\\d+)\u00b0/"));
    std::vector<PaperLine> lines;
    for (const PlacedText& start : pieces) {
        const QRegularExpressionMatch number = lineStart.match(start.text);
        if (!number.hasMatch()) {
            continue;
        }
        std::vector<const PlacedText*> line;
        for (const PlacedText& piece : pieces) {
            if (piece.page == start.page && piece.y > start.y - raise && piece.y < start.y + 0.5) {
                line.push_back(&piece);
            }
        }
        std::sort(line.begin(), line.end(), [](auto* a, auto* b) { return a->x < b->x; });
        PaperLine paper{number.captured(1).toInt(), 0, -1};
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (paper.equalSigns == 0 && line[i]->text.contains('=') && i + 1 < line.size()) {
                paper.rightX = line[i + 1]->x;
            }
            paper.equalSigns += static_cast<int>(line[i]->text.count('='));
        }
        lines.push_back(paper);
    }
    return lines;
}

}  // namespace testsupport
