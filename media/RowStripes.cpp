#include "media/RowStripes.h"

#include <QPainter>

#include <cmath>

QColor RowStripes::stripeColor()
{
    static const QColor color = QColor::fromRgbF(227 / 255.0f, 254 / 255.0f, 230 / 255.0f, 1.0f);
    return color;
}

QList<QRect> RowStripes::stripeRects(const QRect &area, int fullRowHeight)
{
    QList<QRect> stripes;
    if (fullRowHeight <= 0 || area.isEmpty())
        return stripes;
    int row = int(std::floor(double(area.y()) / fullRowHeight));
    if (row % 2 == 0)
        ++row;
    const int bottom = area.y() + area.height();
    for (int y = row * fullRowHeight; y < bottom; y += 2 * fullRowHeight)
        stripes.append(QRect(area.x(), y, area.width(), fullRowHeight));
    return stripes;
}

void RowStripes::drawStripesInRect(QPainter &painter, const QRect &area, int fullRowHeight)
{
    for (const QRect &stripe : stripeRects(area, fullRowHeight))
        painter.fillRect(stripe, stripeColor());
}
