#include "ui/layer/GapLabel.h"

#include <QPainter>
#include <QStyle>

namespace ombrix::layer {

std::pair<QString, QString> GapLabel::Parts() const
{
    const QString caption = text();
    qsizetype bestStart = -1;
    qsizetype bestLength = 0;
    for (qsizetype i = 0; i < caption.size();) {
        if (caption[i] != QLatin1Char(' ')) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < caption.size() && caption[end] == QLatin1Char(' '))
            ++end;
        if (end - i > bestLength) {
            bestStart = i;
            bestLength = end - i;
        }
        i = end;
    }
    if (bestLength < 2) // no gap: the whole caption is the left part
        return {caption, QString()};
    return {caption.left(bestStart), caption.mid(bestStart + bestLength)};
}

std::pair<QRect, QRect> GapLabel::TextRects() const
{
    const auto [left, right] = Parts();
    const QRect area = contentsRect();
    const int leftWidth = fontMetrics().horizontalAdvance(left);
    const int rightWidth = fontMetrics().horizontalAdvance(right);
    return {QRect(area.left(), area.top(), leftWidth, area.height()),
            QRect(area.right() + 1 - rightWidth, area.top(), rightWidth, area.height())};
}

void GapLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const auto [left, right] = Parts();
    const auto [leftRect, rightRect] = TextRects();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    style()->drawItemText(&painter, leftRect, flags, palette(), isEnabled(), left, foregroundRole());
    style()->drawItemText(&painter, rightRect, flags, palette(), isEnabled(), right, foregroundRole());
}

} // namespace ombrix::layer
