#include "media/ui/MP3OutlineView.h"

#include "media/TreeNode.h"
#include "media/ui/MP3DataSource.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>

namespace {

// The rows from the top of the tree down to the index: sorting by it sorts
// shown rows top to bottom.
QList<int> rowPath(QModelIndex index)
{
    QList<int> path;
    for (; index.isValid(); index = index.parent())
        path.prepend(index.row());
    return path;
}

} // namespace

MP3OutlineView::MP3OutlineView(QWidget *parent)
    : MyOutlineView(parent)
{ }

MP3DataSource *MP3OutlineView::dataSource() const
{
    return qobject_cast<MP3DataSource *>(model());
}

bool MP3OutlineView::isShown(const TreeNode *node) const
{
    const MP3DataSource *source = dataSource();
    if (!source || !node || node == source->treeData())
        return false;
    const TreeNode *top = node;
    for (const TreeNode *group = node->nodeParent(); group; group = group->nodeParent()) {
        if (group != source->treeData() && !isExpanded(source->indexForNode(group)))
            return false;
        top = group;
    }
    return top == source->treeData();
}

QList<TreeNode *> MP3OutlineView::allSelectedItems() const
{
    const MP3DataSource *source = dataSource();
    if (!source || !selectionModel())
        return {};
    QModelIndexList rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes()) {
        const QModelIndex row = index.siblingAtColumn(0);
        if (!rows.contains(row))
            rows.append(row);
    }
    std::sort(
        rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return rowPath(a) < rowPath(b); });
    QList<TreeNode *> nodes;
    for (const QModelIndex &row : rows) {
        TreeNode *node = source->nodeForIndex(row);
        if (isShown(node))
            nodes.append(node);
    }
    return nodes;
}

void MP3OutlineView::selectItems(const QList<TreeNode *> &items, bool byExtendingSelection)
{
    const MP3DataSource *source = dataSource();
    if (!source || !selectionModel())
        return;
    if (!byExtendingSelection)
        selectionModel()->clearSelection();
    for (const TreeNode *node : items) {
        if (isShown(node))
            selectionModel()->select(
                source->indexForNode(node), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

TreeNode *MP3OutlineView::selectedItem() const
{
    const QList<TreeNode *> nodes = allSelectedItems();
    return nodes.isEmpty() ? nullptr : nodes.first();
}

void MP3OutlineView::mousePressEvent(QMouseEvent *event)
{
    mPressPosition = event->position().toPoint();
    MyOutlineView::mousePressEvent(event);
}

void MP3OutlineView::mouseMoveEvent(QMouseEvent *event)
{
    if (!mVerticalMotionCanBeginDrag && (event->buttons() & Qt::LeftButton)
        && (state() == NoState || state() == DraggingState)) {
        const QPoint motion = event->position().toPoint() - mPressPosition;
        // A drag has not begun yet: a mostly vertical motion selects instead.
        if (motion.manhattanLength() >= QApplication::startDragDistance() && qAbs(motion.y()) > qAbs(motion.x()))
            setState(DragSelectingState);
    }
    MyOutlineView::mouseMoveEvent(event);
}
