#include "ui/layer/FormGeometry.h"

#include "ui/layer/Twips.h"

#include <QWidget>

namespace ombrix::layer {

// The window position is that of its frame, as the window system reports it.
float FormGeometry::Left() const { return static_cast<float>(PixelsToTwips(window_.frameGeometry().x())); }
float FormGeometry::Top() const { return static_cast<float>(PixelsToTwips(window_.frameGeometry().y())); }

float FormGeometry::Width() const { return static_cast<float>(PixelsToTwips(window_.width()) + 2 * borders_.side); }

float FormGeometry::Height() const
{
    return static_cast<float>(PixelsToTwips(window_.height()) + borders_.top + borders_.bottom);
}

void FormGeometry::SetLeft(float twips) { window_.move(TwipsToPixels(twips), window_.frameGeometry().y()); }
void FormGeometry::SetTop(float twips) { window_.move(window_.frameGeometry().x(), TwipsToPixels(twips)); }

void FormGeometry::SetWidth(float twips)
{
    window_.setFixedSize(TwipsToPixels(twips - 2.0f * static_cast<float>(borders_.side)), window_.height());
}

void FormGeometry::SetHeight(float twips)
{
    window_.setFixedSize(window_.width(), TwipsToPixels(twips - static_cast<float>(borders_.top + borders_.bottom)));
}

void FormGeometry::SetClientSize(int widthTwips, int heightTwips)
{
    window_.setFixedSize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
}

} // namespace ombrix::layer
