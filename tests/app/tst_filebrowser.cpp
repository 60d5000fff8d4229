#include "app/FileBrowserModel.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

class TestFileBrowser : public QObject
{
    Q_OBJECT

    static void touch(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void listsFoldersAndMoviesAndPassesTheFirstPath()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Sub/Empty"));
        touch(dir.filePath(QStringLiteral("a.MOV")));
        touch(dir.filePath(QStringLiteral("b.txt")));
        touch(dir.filePath(QStringLiteral("Sub/c.mpg")));
        FileBrowserModel model;

        // The invisible top holds one item, "/"; walk down to the folder.
        QCOMPARE(model.rowCount(), 1);
        QModelIndex top = model.index(0, 0);
        QCOMPARE(top.data().toString(), QStringLiteral("/"));
        for (const QString &component : dir.path().split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            QModelIndex next;
            for (int row = 0; row < model.rowCount(top) && !next.isValid(); ++row)
                if (model.index(row, 0, top).data().toString() == component)
                    next = model.index(row, 0, top);
            QVERIFY2(next.isValid(), qPrintable(component));
            top = next;
        }
        QVERIFY(model.hasChildren(top));
        QStringList names;
        for (int row = 0; row < model.rowCount(top); ++row)
            names << model.index(row, 0, top).data().toString();
        names.sort();
        QCOMPARE(names, QStringList({ "Sub", "a.MOV" }));

        QModelIndex file, folder;
        for (int row = 0; row < model.rowCount(top); ++row) {
            const QModelIndex index = model.index(row, 0, top);
            (index.data().toString() == QLatin1String("Sub") ? folder : file) = index;
        }
        QVERIFY(!model.hasChildren(file));
        QVERIFY(model.hasChildren(folder));
        QCOMPARE(model.parent(model.index(0, 0, folder)), folder);

        std::unique_ptr<QMimeData> dragged(model.mimeData({ file, folder }));
        QCOMPARE(dragged->text(), dir.filePath(QStringLiteral("a.MOV")));
    }
};

QTEST_GUILESS_MAIN(TestFileBrowser)
#include "tst_filebrowser.moc"
