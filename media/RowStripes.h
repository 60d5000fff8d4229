#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class QPainter;

// The pale green stripes of Kestrin's lists: every other row, counted from
// 0 at the top of the content, so rows 1, 3, 5... are striped. Coordinates
// are those of the content, not of the visible part.
class RowStripes
{
public:
    static QColor stripeColor();

    // The stripes that `area` needs painted, each as wide as `area` and one
    // row high; the first may begin above `area`.
    static QList<QRect> stripeRects(const QRect &area, int fullRowHeight);

    static void drawStripesInRect(QPainter &painter, const QRect &area, int fullRowHeight);
};
