// The platform's look with the metrics the layouts were drawn for: check-box and
// option-button indicators of 13 by 13 pixels with their caption close beside them, so
// both fit the 13-pixel-high controls of the dialogs.
#pragma once

#include <QProxyStyle>

namespace ombrix::layer {

class DesignStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// Makes DesignStyle the application's style.
void UseDesignStyle();

} // namespace ombrix::layer
