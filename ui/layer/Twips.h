// Positions and sizes in twips (1/1440 inch), converted with the screen's logical DPI,
// so windows keep their designed proportions and scale on high-DPI screens.
#pragma once

#include <QString>
#include <QWidget>

namespace ombrix::layer {

int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// Places a control from its design table: left, top, width, height in twips.
void Place(QWidget& control, int left, int top, int width, int height);

// Names a control (tests find it by name), gives it its tooltip if any and places it.
template <typename W>
W* Designed(W* control, const char* name, const char* tooltip, int left, int top, int width, int height)
{
    control->setObjectName(QLatin1String(name));
    if (*tooltip)
        control->setToolTip(QString::fromUtf8(tooltip));
    Place(*control, left, top, width, height);
    return control;
}

} // namespace ombrix::layer
