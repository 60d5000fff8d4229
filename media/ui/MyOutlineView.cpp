#include "media/ui/MyOutlineView.h"

#include "media/RowStripes.h"

#include <QPaintEvent>
#include <QPainter>

MyOutlineView::MyOutlineView(QWidget *parent)
    : QTreeView(parent)
{
    setUniformRowHeights(true);
    // Stripes follow the content pixel by pixel.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int MyOutlineView::fullRowHeight() const
{
    if (model() && model()->rowCount(rootIndex()) > 0) {
        const int height = rowHeight(model()->index(0, 0, rootIndex()));
        if (height > 0)
            return height;
    }
    // An empty view: the height a row of text and a small icon would take.
    return qMax(fontMetrics().height(), iconSize().height()) + 4;
}

void MyOutlineView::drawStripesInRect(QPainter &painter, const QRect &rect) const
{
    const int offset = verticalOffset();
    painter.save();
    painter.translate(0, -offset);
    RowStripes::drawStripesInRect(painter, rect.translated(0, offset), fullRowHeight());
    painter.restore();
}

void MyOutlineView::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(viewport());
        drawStripesInRect(painter, event->rect());
    }
    QTreeView::paintEvent(event);
}
