#include "ui/layer/Fonts.h"

#include <QApplication>
#include <QFontMetrics>

namespace ombrix::layer {

QFont DesignFont(const QString& family, qreal points, bool bold, bool italic, bool underline)
{
    QFont font;
    font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

QFont FontToFit(QFont font, const QString& text, int width)
{
    constexpr qreal kSmallest = 5.0;
    while (QFontMetrics(font).horizontalAdvance(text) > width && font.pointSizeF() - 0.25 >= kSmallest)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

void UseDesignFont() { QApplication::setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8.25)); }

} // namespace ombrix::layer
