#pragma once

#include <cstdint>

// Record types, field values and fixed sizes of the Enhanced Metafile format
// that the writer produces and the player reads. Every number is stored
// little-endian; every record starts with its type and its size in bytes, and
// sizes are multiples of 4.
namespace platform::emf {

enum RecordType : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_LINETO = 54,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_EXTCREATEPEN = 95,
};

inline constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
inline constexpr std::uint32_t kVersion = 0x10000;
inline constexpr std::uint32_t kHeaderSize = 108;  // with the micrometre sizes
inline constexpr std::uint32_t kMinimumHeaderSize = 88;
inline constexpr std::uint32_t kEofSize = 20;

// Stock objects are selected by these indexes, never created.
inline constexpr std::uint32_t kStockObject = 0x80000000;
inline constexpr std::uint32_t WHITE_BRUSH = 0;
inline constexpr std::uint32_t BLACK_BRUSH = 4;
inline constexpr std::uint32_t NULL_BRUSH = 5;
inline constexpr std::uint32_t WHITE_PEN = 6;
inline constexpr std::uint32_t BLACK_PEN = 7;
inline constexpr std::uint32_t NULL_PEN = 8;

inline constexpr std::uint32_t TRANSPARENT = 1;
inline constexpr std::uint32_t ALTERNATE = 1;
inline constexpr std::uint32_t WINDING = 2;

// Text alignment: the reference point of EMR_EXTTEXTOUTW.
inline constexpr std::uint32_t TA_TOP = 0;
inline constexpr std::uint32_t TA_RIGHT = 2;
inline constexpr std::uint32_t TA_CENTER = 6;
inline constexpr std::uint32_t TA_BOTTOM = 8;
inline constexpr std::uint32_t TA_BASELINE = 24;
inline constexpr std::uint32_t GM_COMPATIBLE = 1;

inline constexpr std::uint32_t BS_SOLID = 0;
inline constexpr std::uint32_t BS_NULL = 1;

inline constexpr std::uint32_t PS_SOLID = 0;
inline constexpr std::uint32_t PS_DASH = 1;
inline constexpr std::uint32_t PS_DOT = 2;
inline constexpr std::uint32_t PS_DASHDOT = 3;
inline constexpr std::uint32_t PS_DASHDOTDOT = 4;
inline constexpr std::uint32_t PS_NULL = 5;
inline constexpr std::uint32_t PS_STYLE_MASK = 0xF;
inline constexpr std::uint32_t PS_ENDCAP_SQUARE = 0x100;
inline constexpr std::uint32_t PS_ENDCAP_FLAT = 0x200;
inline constexpr std::uint32_t PS_JOIN_BEVEL = 0x1000;
inline constexpr std::uint32_t PS_JOIN_MITER = 0x2000;
inline constexpr std::uint32_t PS_GEOMETRIC = 0x10000;

// LOGFONTW: 92 bytes; the writer adds the 228 bytes of full name, style and
// PANOSE that Windows itself writes after it.
inline constexpr std::uint32_t kLogFontSize = 92;
inline constexpr std::uint32_t kLogFontPanoseSize = 320;
inline constexpr std::uint32_t kFaceNameChars = 32;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr std::int32_t FW_NORMAL = 400;
inline constexpr std::int32_t FW_BOLD = 700;

// EMR_EXTTEXTOUTW: the fixed part before the string.
inline constexpr std::uint32_t kExtTextOutFixedSize = 76;

}  // namespace platform::emf
