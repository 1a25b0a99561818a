// Positions and sizes in twips (1/1440 inch), converted with the screen's logical DPI,
// so windows keep their designed proportions and scale on high-DPI screens.
#pragma once

#include <QRect>

class QWidget;

namespace ombrix::layer {

int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// Places a control from its design table: left, top, width, height in twips.
void Place(QWidget& control, int left, int top, int width, int height);

} // namespace ombrix::layer
