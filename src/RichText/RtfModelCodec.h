#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "RichText/RtfDocument.h"

// The rich-text document as a flat sequence of 16-bit units, the form in which
// it crosses between the core and the page's JavaScript (one typed array
// each way, no parsing of text) and in which two readers' documents are
// compared byte for byte. Every distinct format is written once, in a table
// at the front; runs and paragraph marks name their format by its index, so
// that the page turns each format into a style once.
//
//   document  := version(2) defaultTab page defaultFont fonts colours
//                count format* count block*
//   defaultTab:= flag u32              page := flag u32*6
//   fonts     := count (u32 text)*     colours := count colour*
//   format    := text u32(halfPoints) flags colour(foreground) colour(highlight)
//   flags     := bold 1, italic 2, underline 4, strike 8, superscript 16, subscript 32
//   colour    := flag red green blue
//   block     := 0 paragraph | 1 count(rows) row*
//   row       := u32(gapTwips) rowflags count(cells) cell*     rowflags := keepTogether 1
//   cell      := u32(rightTwips) cellflags count paragraph*    cellflags := bordered 1
//   paragraph := paraflags u32(mark format) count (u32(format) text)*
//   paraflags := ended 1, centred 2, keepWithNext 4
//   text      := u32(length) units          u32, count := high unit, low unit
namespace RichText {

std::u16string EncodeRtfDocument(const RtfDocument& document);

// Nothing when the units do not hold a whole document of this form (cut
// short, an index out of the format table, an unknown block or version).
std::optional<RtfDocument> DecodeRtfDocument(std::u16string_view units);

}  // namespace RichText
