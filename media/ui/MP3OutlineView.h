#pragma once

#include "media/ui/MyOutlineView.h"

#include <QList>

class MP3DataSource;
class TreeNode;

// The media tree's view: the striped view with the selection as media-tree
// nodes, and the choice whether a mostly vertical mouse motion may start a
// drag or only extends the selection.
class MP3OutlineView : public MyOutlineView
{
    Q_OBJECT

public:
    explicit MP3OutlineView(QWidget *parent = nullptr);

    MP3DataSource *dataSource() const;

    // The nodes of the selected rows that the view shows, top to bottom.
    QList<TreeNode *> allSelectedItems() const;
    // Selects the rows of those nodes that the view shows; nodes inside a
    // closed group or no longer in the tree are passed over.
    void selectItems(const QList<TreeNode *> &items, bool byExtendingSelection);
    // The first selected node, or null.
    TreeNode *selectedItem() const;
    // Whether the node has a row: every group above it is open.
    bool isShown(const TreeNode *node) const;

    bool verticalMotionCanBeginDrag() const { return mVerticalMotionCanBeginDrag; }
    void setVerticalMotionCanBeginDrag(bool can) { mVerticalMotionCanBeginDrag = can; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool mVerticalMotionCanBeginDrag = true;
    QPoint mPressPosition;
};
