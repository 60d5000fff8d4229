#include "app/PreviewList.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

PreviewList::PreviewList(QObject *parent)
    : QAbstractListModel(parent)
{ }

int PreviewList::insertSongs(const QStringList &paths, int row)
{
    if (paths.isEmpty())
        return -1;
    if (row < 0 || row > songs.size())
        row = int(songs.size());
    beginInsertRows({}, row, row + int(paths.size()) - 1);
    for (int i = 0; i < paths.size(); ++i)
        songs.insert(row + i, paths.at(i));
    endInsertRows();
    return row + int(paths.size()) - 1;
}

void PreviewList::removeSongs()
{
    beginResetModel();
    songs.clear();
    endResetModel();
}

int PreviewList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(songs.size());
}

QVariant PreviewList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= songs.size())
        return {};
    if (role == Qt::DisplayRole)
        return QFileInfo(songs.at(index.row())).completeBaseName();
    if (role == Qt::ToolTipRole)
        return songs.at(index.row());
    return {};
}

Qt::ItemFlags PreviewList::flags(const QModelIndex &index) const
{
    // Between rows only: nothing is dropped onto an entry.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QStringList PreviewList::mimeTypes() const
{
    return { QStringLiteral("text/uri-list") };
}

Qt::DropActions PreviewList::supportedDropActions() const
{
    return Qt::CopyAction;
}

bool PreviewList::canDropMimeData(const QMimeData *data, Qt::DropAction, int, int, const QModelIndex &) const
{
    return data && data->hasUrls();
}

bool PreviewList::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int, const QModelIndex &parent)
{
    if (action == Qt::IgnoreAction || !data)
        return true;
    QStringList paths;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    const int last = insertSongs(paths, parent.isValid() ? parent.row() : row);
    if (last >= 0)
        emit dropped(last);
    return true;
}
