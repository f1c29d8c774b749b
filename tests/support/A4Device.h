#pragma once

#include <QPaintDevice>

#include <climits>

namespace testsupport {

// An A4 sheet at 600 dots per inch, standing in for a printer: layout code
// measures on it; it is painted on only through the engine a subclass gives.
class A4Device : public QPaintDevice {
public:
    static constexpr int kDpi = 600;

    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 4960;
            case PdmHeight:
                return 7016;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDpi;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }
};

}  // namespace testsupport
