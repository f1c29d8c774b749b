#include "PageLines.h"

#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace testsupport {

std::vector<PaperLine> QuestionLines(std::vector<PlacedText> pieces, double raise,
                                     const std::vector<QString>& leftAnswers) {
    std::sort(pieces.begin(), pieces.end(), [](const PlacedText& a, const PlacedText& b) {
        return std::tie(a.page, a.y, a.x) < std::tie(b.page, b.y, b.x);
    });
    static const QRegularExpression lineStart(QStringLiteral("^\\s*(\\d+)\u00b0/"));
    static const QRegularExpression digits(QStringLiteral("^[\\d.,\\s]+$"));
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
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
        PaperLine paper{number.captured(1).toInt(), 0, -1, -1, start.page, start.y};
        const auto raisedOrEmpty = [&](std::size_t j) {
            return line[j]->y < start.y - 0.5 || line[j]->text.trimmed().isEmpty();
        };
        const auto question = static_cast<std::size_t>(paper.question);
        const QString answer = question < leftAnswers.size() ? leftAnswers[question] : QString();
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (paper.equalSigns == 0 && line[i]->text.contains('=') && i + 1 < line.size()) {
                std::size_t right = i + 1;
                while (right < line.size() &&
                       (raisedOrEmpty(right) || !line[right]->text.trimmed().front().isDigit())) {
                    ++right;
                }
                paper.rightX = right < line.size() ? line[right]->x : -1;
                std::size_t j = i + 1;
                if (!answer.isEmpty()) {
                    // Past the pieces that hold the answer's text.
                    for (QString shown; j < line.size() && shown.size() < answer.size(); ++j) {
                        if (!raisedOrEmpty(j)) {
                            shown += QString(line[j]->text).remove(' ');
                        }
                    }
                    while (j < line.size() && raisedOrEmpty(j)) {
                        ++j;
                    }
                    if (j < line.size()) {
                        paper.keyRightX = line[j]->x;
                    }
                } else {
                    while (j < line.size() && digits.match(line[j]->text).hasMatch()) {
                        ++j;
                    }
                    for (bool unit = false; j < line.size(); ++j) {
                        if (raisedOrEmpty(j)) {
                            continue;
                        }
                        if (unit || !line[j]->text.contains(letter)) {
                            paper.keyRightX = line[j]->x;
                            break;
                        }
                        unit = true;
                    }
                }
            }
            paper.equalSigns += static_cast<int>(line[i]->text.count('='));
        }
        lines.push_back(paper);
    }
    return lines;
}

}  // namespace testsupport
