#include "app/FileBrowserModel.h"

#include "media/FileSystemItem.h"

#include <QFileInfo>
#include <QMimeData>

FileBrowserModel::FileBrowserModel(FileSystemItem *root, QObject *parent)
    : QAbstractItemModel(parent)
    , mRoot(root ? root : FileSystemItem::rootItem())
{
}

FileSystemItem *FileBrowserModel::itemAt(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<FileSystemItem *>(index.internalPointer()) : nullptr;
}

QModelIndex FileBrowserModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    FileSystemItem *item = itemAt(parent);
    if (!item)
        return row == 0 ? createIndex(0, 0, mRoot) : QModelIndex();
    FileSystemItem *child = item->childAtIndex(row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex FileBrowserModel::parent(const QModelIndex &index) const
{
    FileSystemItem *item = itemAt(index);
    if (!item || item == mRoot)
        return {};
    FileSystemItem *parent = item->parent();
    if (parent == mRoot)
        return createIndex(0, 0, mRoot);
    FileSystemItem *grandParent = parent->parent();
    return createIndex(int(grandParent->children().indexOf(parent)), 0, parent);
}

int FileBrowserModel::rowCount(const QModelIndex &parent) const
{
    FileSystemItem *item = itemAt(parent);
    if (!item)
        return 1;
    return std::max(0, item->numberOfChildren());
}

int FileBrowserModel::columnCount(const QModelIndex &) const
{
    return 1;
}

// A folder can be opened even when it holds no movie; a file cannot. Listing
// a folder waits until it is opened.
bool FileBrowserModel::hasChildren(const QModelIndex &parent) const
{
    FileSystemItem *item = itemAt(parent);
    return !item || QFileInfo(item->fullPath()).isDir();
}

QVariant FileBrowserModel::data(const QModelIndex &index, int role) const
{
    FileSystemItem *item = itemAt(index);
    if (!item)
        return {};
    if (role == Qt::DisplayRole)
        return item->relativePath();
    if (role == Qt::ToolTipRole)
        return item->fullPath();
    return {};
}

Qt::ItemFlags FileBrowserModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}

QStringList FileBrowserModel::mimeTypes() const
{
    return { QStringLiteral("text/plain") };
}

QMimeData *FileBrowserModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || !itemAt(indexes.first()))
        return nullptr;
    auto *data = new QMimeData;
    data->setText(itemAt(indexes.first())->fullPath());
    return data;
}

Qt::DropActions FileBrowserModel::supportedDragActions() const
{
    return Qt::CopyAction;
}
