#include "ui/layer/Fonts.h"

#include <QApplication>

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

void UseDesignFont() { QApplication::setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8.25)); }

} // namespace ombrix::layer
