#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// One entry of the file browser: a folder or a movie file, seen from "/".
// A folder lists its movies and its visible sub-folders the first time it is
// asked and keeps that list; later changes on disk are not seen.
class FileSystemItem
{
public:
    static constexpr int kLeaf = -1;

    // The item for "/", made on first use and kept for the application's life.
    static FileSystemItem *rootItem();

    FileSystemItem(const QString &path, FileSystemItem *parent);
    ~FileSystemItem();
    FileSystemItem(const FileSystemItem &) = delete;
    FileSystemItem &operator=(const FileSystemItem &) = delete;

    // The last component of the item's path; "/" for the root.
    const QString &relativePath() const { return mRelativePath; }
    FileSystemItem *parent() const { return mParent; }
    QString fullPath() const;

    // The listed entries, in the order the file system gives them; empty for
    // an item that is no folder.
    QList<FileSystemItem *> children();
    // kLeaf for an item that is no folder.
    int numberOfChildren();
    FileSystemItem *childAtIndex(int index);

    // Whether a folder's entry is listed: a movie by its extension, or a
    // folder whose name does not begin with ".".
    static bool isListed(const QString &path);

private:
    void makeChildren();

    QString mRelativePath;
    FileSystemItem *mParent;
    bool mListed = false;
    // Empty once listed: the item is no folder.
    std::optional<std::vector<std::unique_ptr<FileSystemItem>>> mChildren;
};
