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
inline constexpr std::uint32_t SYSTEM_FONT = 13;

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

// Where each field lies, in bytes from the start of its record. The writer
// puts every field at these offsets and the player reads them from there.

// Every record.
namespace emrRecord {
inline constexpr std::uint32_t kType = 0;
inline constexpr std::uint32_t kSize = 4;
inline constexpr std::uint32_t kMinimumSize = 8;
// The single field of a record that carries one value: EMR_SETBKMODE,
// EMR_SETTEXTALIGN, EMR_SETTEXTCOLOR, EMR_SETPOLYFILLMODE, EMR_SELECTOBJECT,
// EMR_DELETEOBJECT, EMR_RESTOREDC.
inline constexpr std::uint32_t kValue = 8;
inline constexpr std::uint32_t kValueSize = 12;
}  // namespace emrRecord

// EMR_HEADER. Rectangles are left, top, right, bottom; sizes width, height.
namespace emrHeader {
inline constexpr std::uint32_t kBounds = 8;  // device units, both corners inside
inline constexpr std::uint32_t kFrame = 24;  // hundredths of a millimetre
inline constexpr std::uint32_t kSignature = 40;
inline constexpr std::uint32_t kVersion = 44;
inline constexpr std::uint32_t kBytes = 48;
inline constexpr std::uint32_t kRecords = 52;
inline constexpr std::uint32_t kHandles = 56;  // 16 bits, then 16 reserved
inline constexpr std::uint32_t kDescriptionChars = 60;
inline constexpr std::uint32_t kDescriptionOffset = 64;
inline constexpr std::uint32_t kPaletteEntries = 68;
inline constexpr std::uint32_t kDevicePixels = 72;
inline constexpr std::uint32_t kDeviceMillimetres = 80;
inline constexpr std::uint32_t kPixelFormatSize = 88;
inline constexpr std::uint32_t kPixelFormatOffset = 92;
inline constexpr std::uint32_t kOpenGL = 96;
inline constexpr std::uint32_t kDeviceMicrometres = 100;
}  // namespace emrHeader

// The records that create an object put its table index first.
namespace emrObject {
inline constexpr std::uint32_t kIndex = 8;
// What follows the index describes the object.
inline constexpr std::uint32_t kDescription = 12;
}  // namespace emrObject

// EMR_CREATEPEN: a LOGPEN.
namespace emrCreatePen {
inline constexpr std::uint32_t kStyle = 12;
inline constexpr std::uint32_t kWidth = 16;  // x of a point; y unused
inline constexpr std::uint32_t kColor = 24;
inline constexpr std::uint32_t kSize = 28;
}  // namespace emrCreatePen

// EMR_EXTCREATEPEN: no brush bitmap, then a LOGPEN_EX.
namespace emrExtCreatePen {
inline constexpr std::uint32_t kBitmapInfoOffset = 12;
inline constexpr std::uint32_t kBitmapInfoSize = 16;
inline constexpr std::uint32_t kBitsOffset = 20;
inline constexpr std::uint32_t kBitsSize = 24;
inline constexpr std::uint32_t kStyle = 28;
inline constexpr std::uint32_t kWidth = 32;
inline constexpr std::uint32_t kBrushStyle = 36;
inline constexpr std::uint32_t kColor = 40;
inline constexpr std::uint32_t kHatch = 44;
inline constexpr std::uint32_t kDashEntries = 48;
// The smallest record a reader accepts; the writer adds the one empty dash
// entry that the structure declares, as Windows does.
inline constexpr std::uint32_t kMinimumSize = 52;
inline constexpr std::uint32_t kSize = 56;
}  // namespace emrExtCreatePen

// EMR_CREATEBRUSHINDIRECT: a LOGBRUSH32.
namespace emrCreateBrush {
inline constexpr std::uint32_t kStyle = 12;
inline constexpr std::uint32_t kColor = 16;
inline constexpr std::uint32_t kHatch = 20;
inline constexpr std::uint32_t kSize = 24;
}  // namespace emrCreateBrush

// EMR_EXTCREATEFONTINDIRECTW: a LOGFONTW at emrObject::kDescription, then the
// full name, style, version, style size, match, reserved, vendor, culture and
// PANOSE that Windows writes after it. Offsets from the LOGFONTW's start.
namespace emrCreateFont {
inline constexpr std::uint32_t kLogFont = emrObject::kDescription;
inline constexpr std::uint32_t kHeight = 0;
inline constexpr std::uint32_t kWidth = 4;
inline constexpr std::uint32_t kEscapement = 8;
inline constexpr std::uint32_t kOrientation = 12;
inline constexpr std::uint32_t kWeight = 16;
inline constexpr std::uint32_t kItalic = 20;  // one byte each from here
inline constexpr std::uint32_t kUnderline = 21;
inline constexpr std::uint32_t kStrikeOut = 22;
inline constexpr std::uint32_t kCharSet = 23;
inline constexpr std::uint32_t kOutPrecision = 24;
inline constexpr std::uint32_t kClipPrecision = 25;
inline constexpr std::uint32_t kQuality = 26;
inline constexpr std::uint32_t kPitchAndFamily = 27;
inline constexpr std::uint32_t kFaceName = 28;  // kFaceNameChars UTF-16 units
inline constexpr std::uint32_t kFullName = kLogFontSize;
inline constexpr std::uint32_t kFullNameChars = 64;
inline constexpr std::uint32_t kStyle = kFullName + 2 * kFullNameChars;
inline constexpr std::uint32_t kStyleChars = 32;
inline constexpr std::uint32_t kSize = kLogFont + kLogFontPanoseSize;
}  // namespace emrCreateFont

// EMR_MOVETOEX and EMR_LINETO.
namespace emrPoint {
inline constexpr std::uint32_t kX = 8;
inline constexpr std::uint32_t kY = 12;
inline constexpr std::uint32_t kSize = 16;
}  // namespace emrPoint

// EMR_RECTANGLE and EMR_ELLIPSE: the right and bottom edges are outside.
namespace emrBox {
inline constexpr std::uint32_t kBox = 8;
inline constexpr std::uint32_t kSize = 24;
}  // namespace emrBox

// EMR_POLYGON, EMR_POLYLINE and their 16-bit forms: the bounds, then the
// points (8 bytes each, 4 in the 16-bit forms).
namespace emrPoly {
inline constexpr std::uint32_t kBounds = 8;
inline constexpr std::uint32_t kCount = 24;
inline constexpr std::uint32_t kPoints = 28;
}  // namespace emrPoly

// EMR_POLYPOLYGON and EMR_POLYPOLYLINE: the bounds, then one point count per
// polygon, then every point.
namespace emrPolyPoly {
inline constexpr std::uint32_t kBounds = 8;
inline constexpr std::uint32_t kPolygons = 24;
inline constexpr std::uint32_t kTotal = 28;
inline constexpr std::uint32_t kCounts = 32;
}  // namespace emrPolyPoly

// EMR_EXTTEXTOUTW: the fixed part, then the string and the advances where
// their offsets say.
namespace emrText {
inline constexpr std::uint32_t kBounds = 8;
inline constexpr std::uint32_t kGraphicsMode = 24;
inline constexpr std::uint32_t kScaleX = 28;  // hundredths of a millimetre per pixel
inline constexpr std::uint32_t kScaleY = 32;
inline constexpr std::uint32_t kReference = 36;  // x, y
inline constexpr std::uint32_t kChars = 44;
inline constexpr std::uint32_t kStringOffset = 48;
inline constexpr std::uint32_t kOptions = 52;
inline constexpr std::uint32_t kClip = 56;
inline constexpr std::uint32_t kAdvancesOffset = 72;
// ETO_PDY: a vertical advance follows each horizontal one.
inline constexpr std::uint32_t ETO_PDY = 0x2000;
}  // namespace emrText

// EMR_EXTTEXTOUTW: the fixed part before the string.
inline constexpr std::uint32_t kExtTextOutFixedSize = 76;

// EMR_EOF: no palette.
namespace emrEof {
inline constexpr std::uint32_t kPaletteEntries = 8;
inline constexpr std::uint32_t kPaletteOffset = 12;
inline constexpr std::uint32_t kSizeLast = 16;
}  // namespace emrEof

}  // namespace platform::emf
