#pragma once

#include <string>

#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// Windows-1252 text as UTF-8.
std::string Utf8FromWindows1252(const std::string& text);

// A text of the core as GIFT question text reads it: its tags dropped as the
// documents drop them, digits in superscript as superscript characters ("m²"),
// NULs dropped and the other characters below 32 as spaces, then "&", "<" and ">" as HTML entities
// and
// "~ = # { } :" and the backslash each after a backslash. Windows-1252.
std::string GiftText(const std::string& markup);

// The worksheet's exercises as a Moodle GIFT file, UTF-8: its category from
// the kind and level first, then one numerical question per blank, named
// from the base name, the line and its side ("Long_N2_07_93 3a", and
// "Dur_N2_07_93 3a.2" for an exercise's second blank), its text the teacher's
// title line when there is one and the exercise as the subject shows it with
// "?" for the blank asked ("135 min = … h ? min"), its answer exact.
std::string GiftFile(const GeneratedWorksheet& sheet, const std::string& titleLine);

}  // namespace Ufiche
