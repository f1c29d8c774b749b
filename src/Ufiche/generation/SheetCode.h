#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Uconvers/Uconvers.h"
#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// A worksheet's short code: five characters that a teacher can read aloud
// and a pupil can type, each of 32 letters and digits without I, L, O and U
// ("4K7QX"). A code and the settings that draw (kind, level, question count,
// decimal mark, measures in two units) make one worksheet, the same on every
// edition and processor.
constexpr std::uint32_t kSheetCodeCount = std::uint32_t{1} << 25;  // 32^5
constexpr std::size_t kSheetCodeLength = 5;

// The code's five characters; only the code's low 25 bits count.
std::string SheetCodeText(std::uint32_t code);

// A typed code: case-insensitive, "O" read as "0", "I" and "L" as "1",
// spaces and hyphens ignored; none when it is not five such characters.
std::optional<std::uint32_t> ParseSheetCode(std::string_view typed);

// A new code for a press, drawn from the session's source.
std::uint32_t DrawSheetCode(RandomSource& random);

// The code `step` places after `code`, wrapping after the last one.
std::uint32_t SheetCodeAfter(std::uint32_t code, std::uint32_t step);

// The worksheet of a code, drawn from the portable source the code seeds.
// With `codeShown`, both headings name the code after the base name.
GeneratedWorksheet BuildWorksheetOfCode(Uconvers::QuantityKind kind, WorksheetSettings settings,
                                        std::uint32_t code, bool codeShown);

}  // namespace Ufiche
