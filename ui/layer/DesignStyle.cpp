#include "ui/layer/DesignStyle.h"

#include <QApplication>

namespace ombrix::layer {
namespace {

constexpr int kIndicatorSize = 13;
constexpr int kIndicatorToCaption = 4;

} // namespace

int DesignStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: return kIndicatorSize;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing: return kIndicatorToCaption;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void UseDesignStyle() { QApplication::setStyle(new DesignStyle); }

} // namespace ombrix::layer
