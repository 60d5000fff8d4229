#include "media/FileSystemItem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

QStringList sortedNames(FileSystemItem &item)
{
    QStringList names;
    for (const FileSystemItem *child : item.children())
        names << child->relativePath();
    names.sort();
    return names;
}

// Items from "/" down to `path`, made one by one as the browser would
// make them, but without listing any folder on the way.
struct ItemChain
{
    std::vector<std::unique_ptr<FileSystemItem>> items;

    explicit ItemChain(const QString &path)
    {
        items.push_back(std::make_unique<FileSystemItem>(QStringLiteral("/"), nullptr));
        for (const QString &part : QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts))
            items.push_back(std::make_unique<FileSystemItem>(part, items.back().get()));
    }

    FileSystemItem &last() { return *items.back(); }
};

} // namespace

class TestFileSystemItem : public QObject
{
    Q_OBJECT

private slots:
    void aFolderListsMoviesAndVisibleFolders()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(folder.mkdir("Sub") && folder.mkdir(".hidden") && folder.mkdir("clips.mpeg"));
        for (const char *name : { "a.MOV", "b.txt", "c.avi", "d.mpg", "e.mp4", ".f.mov", "noextension" })
            QVERIFY(touch(folder.filePath(name)));
        ItemChain chain(dir.path());
        FileSystemItem &item = chain.last();
        QCOMPARE(sortedNames(item), (QStringList { ".f.mov", "Sub", "a.MOV", "c.avi", "clips.mpeg", "d.mpg" }));
        QCOMPARE(item.numberOfChildren(), 6);
    }

    void theExampleFolder()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(folder.mkdir("Sub") && folder.mkdir(".hidden"));
        QVERIFY(touch(folder.filePath("a.MOV")) && touch(folder.filePath("b.txt")));
        ItemChain chain(dir.path());
        FileSystemItem &item = chain.last();
        QCOMPARE(sortedNames(item), (QStringList { "Sub", "a.MOV" }));
    }

    void leavesAndEmptyFolders()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(folder.mkdir("Empty") && touch(folder.filePath("a.mov")));
        ItemChain chain(dir.path());
        FileSystemItem &item = chain.last();
        QCOMPARE(item.numberOfChildren(), 2);
        for (FileSystemItem *child : item.children()) {
            QCOMPARE(child->parent(), &item);
            QCOMPARE(child->numberOfChildren(), child->relativePath() == "a.mov" ? FileSystemItem::kLeaf : 0);
            QVERIFY(child->children().isEmpty());
        }
        ItemChain gone(folder.filePath("gone"));
        QCOMPARE(gone.last().fullPath(), folder.filePath("gone"));
        QCOMPARE(gone.last().numberOfChildren(), FileSystemItem::kLeaf);
    }

    void aListingIsKept()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(touch(folder.filePath("a.mov")));
        ItemChain chain(dir.path());
        FileSystemItem &item = chain.last();
        QCOMPARE(item.numberOfChildren(), 1);
        QVERIFY(touch(folder.filePath("b.mov")));
        QCOMPARE(item.numberOfChildren(), 1);
    }

    void pathsFromTheRoot()
    {
        FileSystemItem *root = FileSystemItem::rootItem();
        QCOMPARE(FileSystemItem::rootItem(), root);
        QCOMPARE(root->relativePath(), QString("/"));
        QCOMPARE(root->fullPath(), QString("/"));
        QVERIFY(root->numberOfChildren() > 0);

        // Every step down names a real folder.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Deep/Down"));
        FileSystemItem *item = root;
        for (const QString &part : QDir::cleanPath(dir.path() + "/Deep/Down").split('/', Qt::SkipEmptyParts)) {
            FileSystemItem *next = nullptr;
            for (FileSystemItem *child : item->children()) {
                if (child->relativePath() == part)
                    next = child;
            }
            QVERIFY2(next, qPrintable(part));
            item = next;
        }
        QCOMPARE(item->fullPath(), QDir::cleanPath(dir.path() + "/Deep/Down"));
        QCOMPARE(item->parent()->relativePath(), QString("Deep"));
    }
};

QTEST_GUILESS_MAIN(TestFileSystemItem)
#include "tst_filesystemitem.moc"
