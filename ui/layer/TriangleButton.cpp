#include "ui/layer/TriangleButton.h"

#include "ui/layer/Controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ombrix::layer {

void TriangleButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRectF box = rect();
    const qreal h = std::min(box.width(), box.height()) * 0.36;
    const QPointF c = box.center();
    const bool pointsLeft = text() == QLatin1String("3");
    const qreal dir = pointsLeft ? -1.0 : 1.0;
    const QPolygonF triangle({QPointF(c.x() + dir * h * 0.6, c.y()), QPointF(c.x() - dir * h * 0.4, c.y() - h),
                              QPointF(c.x() - dir * h * 0.4, c.y() + h)});
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawPolygon(triangle);
}

void TriangleButton::keyPressEvent(QKeyEvent* event)
{
    if (!PressOnEnter(*this, event))
        QPushButton::keyPressEvent(event);
}

} // namespace ombrix::layer
