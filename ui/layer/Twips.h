// Positions and sizes in twips (1/1440 inch), converted with the screen's logical DPI,
// so windows keep their designed proportions and scale on high-DPI screens.
#pragma once

#include <QString>
#include <QWidget>

namespace ombrix::layer {

int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// A control's rectangle in its design table, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

void Place(QWidget& control, TwipsRect rect);

// Names a control (tests find it by name), gives it its tooltip if any and places it:
// every window builds its controls through here.
template <typename W>
W* Designed(W* control, const QString& name, const QString& tooltip, TwipsRect rect)
{
    control->setObjectName(name);
    if (!tooltip.isEmpty())
        control->setToolTip(tooltip);
    Place(*control, rect);
    return control;
}

} // namespace ombrix::layer
