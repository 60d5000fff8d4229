#pragma once

#include <QTreeView>

// A tree view striped pale green on every other row, below the last row
// too, with the selection drawn over the stripes.
class MyOutlineView : public QTreeView
{
    Q_OBJECT

public:
    explicit MyOutlineView(QWidget *parent = nullptr);

    // The height of one row, stripes included; rows are all alike.
    int fullRowHeight() const;

    // Paints the stripes that fall into `rect` (viewport coordinates).
    void drawStripesInRect(QPainter &painter, const QRect &rect) const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
