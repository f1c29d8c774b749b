#pragma once

#include <QTextCharFormat>

namespace platform {

// RTF's default size is 12 points.
inline constexpr int kRtfDefaultHalfPoints = 24;

// The character properties that RTF carries: what the reader's control words
// set and its groups restore, and what the writer compares run by run to
// write only the changes.
struct RtfCharacterState {
    int font = -1;  // font-table entry; -1 is the document's default font
    int halfPoints = kRtfDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignNormal;
    int foreground = 0;  // colour-table entries; 0 is automatic
    int highlight = 0;

    bool operator==(const RtfCharacterState&) const = default;
};

}  // namespace platform
