#pragma once

#include <QtGlobal>

// The units of page geometry: twips (1/1440 inch) for the rich-text pane's
// page rectangles, hundredths of a millimetre for a metafile's frame, and a
// device's pixels at its resolution in dots per inch.
namespace platform {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kHundredthsMmPerInch = 2540;
inline constexpr double kMillimetresPerInch = 25.4;

// Hundredths of a millimetre to twips, truncated.
constexpr int HundredthsMmToTwips(int hundredthsMm) {
    return hundredthsMm * kTwipsPerInch / kHundredthsMmPerInch;
}

// Millimetres to the nearest whole pixel at `dpi`.
inline int MillimetresToPixels(int millimetres, int dpi) {
    return qRound(millimetres * dpi / kMillimetresPerInch);
}

// Pixels at `dpi` to the nearest whole millimetre.
inline int PixelsToMillimetres(int pixels, int dpi) {
    return qRound(pixels * kMillimetresPerInch / dpi);
}

// The size of one pixel at `dpi`, in hundredths of a millimetre.
inline double HundredthsMmPerPixel(int dpi) {
    return static_cast<double>(kHundredthsMmPerInch) / dpi;
}

}  // namespace platform
