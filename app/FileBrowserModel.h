#pragma once

#include <QAbstractItemModel>

class FileSystemItem;

// The file browser: the file system from "/" down to the movie files, built
// folder by folder as the user opens them. Dragging an item out passes its
// full path as text (only the first of several).
class FileBrowserModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    // `root` is the item shown at the top; FileSystemItem::rootItem() when null.
    explicit FileBrowserModel(FileSystemItem *root = nullptr, QObject *parent = nullptr);

    FileSystemItem *itemAt(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    FileSystemItem *mRoot;
};
