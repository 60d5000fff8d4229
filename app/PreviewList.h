#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The preview list: movie files dropped onto it, in order, shown by their
// names without extension. Whatever file names are dropped are listed, with
// no check of type, existence or duplicates.
class PreviewList : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit PreviewList(QObject *parent = nullptr);

    const QStringList &getSongs() const { return songs; }
    QString songAtIndex(int index) const { return songs.value(index); }

    // Inserts `paths` at `row` (at the end when row is -1 or past it).
    // Returns the row of the last one inserted, or -1.
    int insertSongs(const QStringList &paths, int row);
    void removeSongs();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    Qt::DropActions supportedDropActions() const override;
    bool canDropMimeData(
        const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) const override;
    bool dropMimeData(
        const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) override;

signals:
    // A drop ended: this row alone should be selected.
    void dropped(int lastRow);

private:
    QStringList songs;
};
