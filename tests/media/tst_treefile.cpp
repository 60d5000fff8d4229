#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "media/TreeFile.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <plist/plist.h>

namespace {

QVariantMap group(const QString& name, const QVariantList& entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray binaryForm(const QByteArray& xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    QByteArray binary(bytes, qsizetype(length));
    free(bytes);
    plist_free(root);
    return binary;
}

// One group per level, `perLevel` media items in each.
QVariantMap deepDictionary(int depth, int perLevel)
{
    QVariantMap dictionary;
    for (int level = depth - 1; level >= 0; --level) {
        QVariantList entries;
        for (int item = 0; item < perLevel; ++item)
            entries << QStringLiteral("/media/level%1/clip%2.mov").arg(level).arg(item);
        if (!dictionary.isEmpty())
            entries << dictionary;
        dictionary = group(QStringLiteral("Level %1").arg(level), entries);
    }
    return dictionary;
}

void expectWarningNaming(const QString& path)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(path)));
}

} // namespace

class TestTreeFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mFolder;
    QString treePath() const { return mFolder.filePath(QStringLiteral("Kestrin.tree")); }

private slots:
    void init()
    {
        QVERIFY(mFolder.isValid());
        for (const QString& name : QDir(mFolder.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(mFolder.filePath(name));
    }

    void savesTheTreeDictionaryAsXml()
    {
        MediaTree tree;
        TreeNode* root = tree.treeData();
        SimpleTreeNode::dataOf(root)->setName(QStringLiteral("R"));
        root->insertChild(TreeNode::treeNodeWithData(SimpleNodeData::leafDataWithName("/movies/trip.mov")), 0);
        TreeNode* folder
            = root->insertChild(TreeNode::treeNodeWithData(SimpleNodeData::groupDataWithName("New Folder")), 1);
        SimpleTreeNode::dataOf(folder)->setIsExpandable(false);
        QVERIFY(tree.saveToFile(treePath()));

        const QByteArray xml = readBytes(treePath());
        QVERIFY(xml.startsWith("<?xml"));
        QVERIFY(xml.contains("<plist version=\"1.0\">"));
        const PropertyList::ReadResult read = PropertyList::parse(xml);
        QCOMPARE(read.value.typeId(), QMetaType::QVariantMap);
        const QVariantMap saved = read.value.toMap();
        QCOMPARE(saved, group("R", { "/movies/trip.mov", group("New Folder", {}) }));
        const QVariantList entries = saved.value("Entries").toList();
        QCOMPARE(entries.at(0).typeId(), QMetaType::QString);
        QCOMPARE(entries.at(1).toMap().value("Entries").typeId(), QMetaType::QVariantList);

        MediaTree loaded;
        QVERIFY(loaded.loadFromFile(treePath()));
        QCOMPARE(TreeFile::treeToDictionary(loaded.treeData()), saved);
        QVERIFY(SimpleTreeNode::dataOf(loaded.treeData()->lastChild())->isExpandable());
        QVERIFY(SimpleTreeNode::isLeafNode(loaded.treeData()->firstChild()));
    }

    void readsEveryEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QVariantMap dictionary = group("R", { "/m/a.mov", group("G", { "/m/b.mov" }) });
        const QByteArray xml = PropertyList::toXml(dictionary);
        QTest::newRow("xml") << xml;
        QTest::newRow("binary") << binaryForm(xml);
        QTest::newRow("text") << QByteArray("{ Group = R; Entries = ( \"/m/a.mov\", { Group = G; Entries = "
                                            "( \"/m/b.mov\" ); } ); }");
    }

    void readsEveryEncoding()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeBytes(treePath(), bytes));
        MediaTree tree;
        QSignalSpy replaced(&tree, &MediaTree::treeReplaced);
        QVERIFY(tree.loadFromFile(treePath()));
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(TreeFile::treeToDictionary(tree.treeData()), group("R", { "/m/a.mov", group("G", { "/m/b.mov" }) }));
    }

    void unreadableFilesGiveABareRootAndAreKeptAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVariantMap>("loaded");
        QTest::newRow("no property list") << QByteArray("\x00\x01garbage<<", 10) << group("", {});
        QTest::newRow("empty file") << QByteArray() << group("", {});
        QTest::newRow("cut short") << PropertyList::toXml(group("R", { "/m/a.mov" })).left(120) << group("", {});
        QTest::newRow("root is a list") << PropertyList::toXml(QVariantList { "/m/a.mov" }) << group("", {});
        QTest::newRow("root is a string") << PropertyList::toXml(QStringLiteral("R")) << group("", {});
        QTest::newRow("entries of other types")
            << PropertyList::toXml(group("R", { 1, "/m/a.mov", QVariantList { "/m/b.mov" }, group("G", { 2.5 }) }))
            << group("R", { "/m/a.mov", group("G", {}) });
        QTest::newRow("name of another type")
            << PropertyList::toXml(QVariantMap { { "Group", QVariantList() }, { "Entries", QVariantList { "/a" } } })
            << group("", { "/a" });
    }

    void unreadableFilesGiveABareRootAndAreKeptAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QVariantMap, loaded);
        QVERIFY(writeBytes(treePath(), bytes));
        MediaTree tree;
        expectWarningNaming(treePath());
        QVERIFY(!tree.loadFromFile(treePath()));
        QCOMPARE(TreeFile::treeToDictionary(tree.treeData()), loaded);
        QCOMPARE(readBytes(treePath()), bytes);

        const QString aside = treePath() + QStringLiteral(".bad");
        expectWarningNaming(aside);
        QVERIFY(tree.saveToFile(treePath()));
        QCOMPARE(readBytes(aside), bytes);
        QCOMPARE(PropertyList::readFile(treePath()).value.toMap(), loaded);

        // Once kept, the next saves write as usual.
        QVERIFY(tree.saveToFile(treePath()));
        QVERIFY(!QFile::exists(treePath() + QStringLiteral(".bad-2")));
    }

    void anEarlierBadFileIsNotReplaced()
    {
        QVERIFY(writeBytes(treePath() + QStringLiteral(".bad"), "first"));
        QVERIFY(writeBytes(treePath(), "second"));
        MediaTree tree;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("."));
        tree.loadFromFile(treePath());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("."));
        QVERIFY(tree.saveToFile(treePath()));
        QCOMPARE(readBytes(treePath() + QStringLiteral(".bad")), QByteArray("first"));
        QCOMPARE(readBytes(treePath() + QStringLiteral(".bad-2")), QByteArray("second"));
    }

    void aCleanFileIsNotKeptAside()
    {
        QVERIFY(writeBytes(treePath(), PropertyList::toXml(group("R", {}))));
        MediaTree tree;
        QVERIFY(tree.loadFromFile(treePath()));
        QVERIFY(tree.saveToFile(treePath()));
        QVERIFY(!QFile::exists(treePath() + QStringLiteral(".bad")));
    }

    void aMissingFileGivesABareRoot()
    {
        MediaTree tree;
        expectWarningNaming(treePath());
        QVERIFY(!tree.loadFromFile(treePath()));
        QCOMPARE(TreeFile::treeToDictionary(tree.treeData()), group("", {}));
        QVERIFY(tree.saveToFile(treePath()));
        QVERIFY(!QFile::exists(treePath() + QStringLiteral(".bad")));
    }

    void aFailedWriteKeepsTheTree()
    {
        MediaTree tree;
        const QString path = mFolder.filePath(QStringLiteral("no such folder/Kestrin.tree"));
        expectWarningNaming(path);
        QVERIFY(!tree.saveToFile(path));
        QCOMPARE(SimpleTreeNode::nameOf(tree.treeData()), QStringLiteral("Media"));
    }

    void largeAndDeepTreesGoThroughTheFile()
    {
        const QVariantMap dictionary = deepDictionary(100, 100);
        QVERIFY(writeBytes(treePath(), PropertyList::toXml(dictionary)));
        MediaTree tree;
        QVERIFY(tree.loadFromFile(treePath()));
        QStringList files;
        tree.getMediaFiles(nullptr, files);
        QCOMPARE(files.size(), 10000);
        QList<TreeNode*> groups;
        tree.getMediaNodes(nullptr, groups);
        QCOMPARE(groups.size(), 100);
        QCOMPARE(MediaTree::fullPathToNode(groups.last()->lastChild()).count(QLatin1String("Level ")), 100);

        QVERIFY(tree.saveToFile(treePath()));
        QCOMPARE(PropertyList::readFile(treePath()).value.toMap(), dictionary);
    }

    void flushTreeWritesTheDefaultTree()
    {
        MediaTree tree;
        tree.treeData()->insertChild(TreeNode::treeNodeWithData(SimpleNodeData::leafDataWithName("/m/a.mov")), 0);
        QSignalSpy replaced(&tree, &MediaTree::treeReplaced);
        tree.flushTree(mFolder.path());
        QCOMPARE(replaced.count(), 1);
        QCOMPARE(tree.treeData()->numberOfChildren(), 0);
        QCOMPARE(PropertyList::readFile(treePath()).value.toMap(), group("Media", {}));
    }
};

QTEST_GUILESS_MAIN(TestTreeFile)
#include "tst_treefile.moc"
