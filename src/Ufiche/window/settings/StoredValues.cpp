#include "Ufiche/window/settings/StoredValues.h"

#include <QRegularExpression>

namespace Ufiche {
namespace {

// The characters that reading takes off both ends of a value.
bool IsProfileBlank(QChar c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reading would take one outer pair of these quotes away.
bool IsQuoted(QStringView text) {
    return text.size() >= 2 && text.front() == text.back() &&
           (text.front() == '"' || text.front() == '\'');
}

}  // namespace

QString TrimControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32) {
        ++first;
    }
    while (last > first && text[last - 1].unicode() <= 32) {
        --last;
    }
    return text.mid(first, last - first);
}

QString EncodeText(const QString& text) {
    const QString trimmed = TrimControls(text);
    return IsQuoted(trimmed) ? '"' + trimmed + '"' : trimmed;
}

QString EncodeListEntry(const QString& entry) {
    qsizetype first = 0;
    qsizetype last = entry.size();
    while (first < last && IsProfileBlank(entry[first])) {
        ++first;
    }
    while (last > first && IsProfileBlank(entry[last - 1])) {
        --last;
    }
    const QStringView text = QStringView(entry).sliced(first, last - first);
    if (!IsQuoted(text)) {
        return entry;
    }
    // The blanks stay outside the added quotes, where reading drops them as
    // it does for every other entry.
    return entry.left(first) + '"' + text.toString() + '"' + entry.mid(last);
}

QString EncodeBoolean(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> DecodeBoolean(const QString& text) {
    if (text.compare("True", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare("False", Qt::CaseInsensitive) == 0) {
        return false;
    }
    return std::nullopt;
}

int DecodeInteger(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    if (!integer.match(text).hasMatch()) {
        return 0;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

std::array<int, 4> DecodeFourIntegers(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[ ,]+"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<qsizetype>(i) < words.size() ? DecodeInteger(words[i]) : 0;
    }
    return values;
}

QString EncodeFourIntegers(const std::array<int, 4>& values) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(values[0])
        .arg(values[1])
        .arg(values[2])
        .arg(values[3]);
}

StoredShowState DecodeShowCmd(int showCmd) {
    switch (showCmd) {
        case 2:
        case 6:
        case 7:
            return StoredShowState::Minimized;
        case 3:
            return StoredShowState::Maximized;
        default:
            return StoredShowState::Normal;
    }
}

QString ScreenSizeKey(const QString& key, int width, int height) {
    return QStringLiteral("%1(%2x%3)").arg(key).arg(width).arg(height);
}

}  // namespace Ufiche
