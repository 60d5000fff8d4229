#include "media/FileSystemItem.h"

#include "platform/PathNames.h"

#include <QDir>
#include <QFileInfo>

FileSystemItem *FileSystemItem::rootItem()
{
    static FileSystemItem root(QStringLiteral("/"), nullptr);
    return &root;
}

FileSystemItem::FileSystemItem(const QString &path, FileSystemItem *parent)
    : mRelativePath(PathNames::lastPathComponent(path))
    , mParent(parent)
{ }

FileSystemItem::~FileSystemItem() = default;

QString FileSystemItem::fullPath() const
{
    if (!mParent)
        return mRelativePath;
    const QString parentPath = mParent->fullPath();
    return parentPath.endsWith(QLatin1Char('/')) ? parentPath + mRelativePath
                                                 : parentPath + QLatin1Char('/') + mRelativePath;
}

bool FileSystemItem::isListed(const QString &path)
{
    static const QStringList movieExtensions { QStringLiteral("mov"), QStringLiteral("avi"), QStringLiteral("mpg"),
        QStringLiteral("mpeg") };
    const QFileInfo entry(path);
    if (movieExtensions.contains(entry.suffix().toLower()))
        return true;
    return entry.isDir() && !entry.fileName().startsWith(QLatin1Char('.'));
}

void FileSystemItem::makeChildren()
{
    if (mListed)
        return;
    mListed = true;
    const QString path = fullPath();
    if (!QFileInfo(path).isDir())
        return;
    auto &children = mChildren.emplace();
    const QDir folder(path);
    const QStringList entries
        = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &entry : entries) {
        const QString entryPath = folder.filePath(entry);
        if (isListed(entryPath))
            children.push_back(std::make_unique<FileSystemItem>(entryPath, this));
    }
}

QList<FileSystemItem *> FileSystemItem::children()
{
    makeChildren();
    QList<FileSystemItem *> list;
    if (mChildren) {
        for (const std::unique_ptr<FileSystemItem> &child : *mChildren)
            list.append(child.get());
    }
    return list;
}

int FileSystemItem::numberOfChildren()
{
    makeChildren();
    return mChildren ? int(mChildren->size()) : kLeaf;
}

FileSystemItem *FileSystemItem::childAtIndex(int index)
{
    makeChildren();
    return mChildren->at(size_t(index)).get();
}
