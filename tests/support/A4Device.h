#pragma once

#include <QPaintDevice>

namespace testsupport {

// An A4 sheet at 600 dots per inch, standing in for a printer: layout code
// measures on it; it is painted on only through the engine a subclass gives.
class A4Device : public QPaintDevice {
public:
    static constexpr int kDpi = 600;

    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;
};

}  // namespace testsupport
