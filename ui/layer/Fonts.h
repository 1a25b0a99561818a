// The faces of the design, with the nearest faces a Linux desktop has: Liberation Sans
// has the metrics of Arial and is close to the old sans-serif face the layouts were
// drawn with, so captions fit the spaces designed for them.
#pragma once

#include <QFont>

namespace ombrix::layer {

QFont DesignFont(const QString& family, qreal points, bool bold = false, bool italic = false, bool underline = false);

// The font, made smaller in quarter points if need be (down to 5 points), in which
// text takes at most width pixels.
QFont FontToFit(QFont font, const QString& text, int width);

// Makes the design's 8.25-point sans-serif face the application's default.
void UseDesignFont();

} // namespace ombrix::layer
