#include "A4Device.h"

#include <climits>

namespace testsupport {

int A4Device::metric(PaintDeviceMetric metric) const {
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

}  // namespace testsupport
