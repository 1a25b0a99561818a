#include "ui/layer/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace ombrix::layer {
namespace {

double LogicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips * LogicalDpi() / 1440.0)); }

double PixelsToTwips(int pixels) { return pixels * 1440.0 / LogicalDpi(); }

void Place(QWidget& control, TwipsRect rect)
{
    control.setGeometry(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                        TwipsToPixels(rect.height));
}

} // namespace ombrix::layer
