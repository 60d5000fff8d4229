#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVariantMap group(const QString& name, const QVariantList& entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

// A media tree holding the tree of `dictionary`.
std::unique_ptr<MediaTree> mediaTree(const QVariantMap& dictionary, SettingsModel* settings = nullptr)
{
    auto tree = std::make_unique<MediaTree>(settings);
    TreeNode* root = tree->treeData();
    while (root->numberOfChildren() > 0)
        root->removeChild(root->firstChild());
    auto built = SimpleTreeNode::treeFromDictionary(dictionary);
    SimpleTreeNode::dataOf(root)->setName(SimpleTreeNode::nameOf(built.get()));
    while (built->numberOfChildren() > 0)
        root->insertChild(built->removeChild(built->firstChild()), root->numberOfChildren());
    return tree;
}

QStringList names(const QList<TreeNode*>& nodes)
{
    QStringList list;
    for (const TreeNode* node : nodes)
        list << SimpleTreeNode::nameOf(node);
    return list;
}

bool touch(const QString& path, const QByteArray& bytes = {})
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestMediaTree : public QObject {
    Q_OBJECT

private slots:
    void queriesWalkDepthFirstInTreeOrder()
    {
        auto tree
            = mediaTree(group("R", { "/A", group("G", { "/B", group("H", { "/C" }), "/D" }), "/E", group("K", {}) }));
        QStringList files { "/before" };
        tree->getMediaFiles(nullptr, files);
        QCOMPARE(files, (QStringList { "/before", "/A", "/B", "/C", "/D", "/E" }));
        QList<TreeNode*> groups;
        tree->getMediaNodes(nullptr, groups);
        QCOMPARE(names(groups), (QStringList { "R", "G", "H", "K" }));

        TreeNode* g = tree->treeData()->childAtIndex(1);
        files.clear();
        tree->getMediaFiles(g, files);
        QCOMPARE(files, (QStringList { "/B", "/C", "/D" }));
        groups.clear();
        tree->getMediaNodes(g, groups);
        QCOMPARE(names(groups), (QStringList { "G", "H" }));

        TreeNode* item = tree->treeData()->firstChild();
        files.clear();
        groups.clear();
        tree->getMediaFiles(item, files);
        tree->getMediaNodes(item, groups);
        QCOMPARE(files, (QStringList { "/A" }));
        QVERIFY(groups.isEmpty());
    }

    void queriesOfOddTrees()
    {
        auto tree = mediaTree(group("R", { "/m/a.mov", group("G", { "/m/a.mov" }), "/gone/b.mov" }));
        QStringList files;
        tree->getMediaFiles(nullptr, files);
        QCOMPARE(files, (QStringList { "/m/a.mov", "/m/a.mov", "/gone/b.mov" }));

        auto itemsOnly = mediaTree(group("R", { "/a", "/b" }));
        QList<TreeNode*> groups;
        itemsOnly->getMediaNodes(nullptr, groups);
        QCOMPARE(groups, QList<TreeNode*> { itemsOnly->treeData() });
    }

    void fullPaths_data()
    {
        QTest::addColumn<QVariantMap>("dictionary");
        QTest::addColumn<QList<int>>("place");
        QTest::addColumn<QString>("fullPath");
        QTest::newRow("root") << group("R", {}) << QList<int>() << "R";
        QTest::newRow("item under the root") << group("R", { "/M/a.mov" }) << QList<int> { 0 } << "R/M/a.mov";
        QTest::newRow("item in a group") << group("R", { group("G", { "/M/a.mov" }) }) << QList<int> { 0, 0 }
                                         << "R/G/M/a.mov";
        QTest::newRow("group of a folder") << group("R", { group("/Users/ann/Trips", { "/Users/ann/Trips/a.mov" }) })
                                           << QList<int> { 0, 0 } << "R/Users/ann/Trips/Users/ann/Trips/a.mov";
        QTest::newRow("plain names") << group("R", { group("G", { group("H", {}) }) }) << QList<int> { 0, 0 }
                                     << "R/G/H";
        QTest::newRow("root without a name") << group("", { "/M/a.mov" }) << QList<int> { 0 } << "/M/a.mov";
        QTest::newRow("root ending in a slash") << group("R/", { "/M/a.mov", "b" }) << QList<int> { 0 } << "R/M/a.mov";
        QTest::newRow("group without a name")
            << group("R", { group("", { "/M/a.mov" }) }) << QList<int> { 0, 0 } << "R/M/a.mov";
    }

    void fullPaths()
    {
        QFETCH(QVariantMap, dictionary);
        QFETCH(QList<int>, place);
        QFETCH(QString, fullPath);
        auto tree = mediaTree(dictionary);
        const TreeNode* node = tree->treeData();
        for (int index : place)
            node = node->childAtIndex(index);
        QCOMPARE(MediaTree::fullPathToNode(node), fullPath);
    }

    void invalidatingImagesDeletesLowerCaseImgFilesOnly()
    {
        QTemporaryDir project;
        QTemporaryDir elsewhere;
        const QDir folder(project.path());
        QVERIFY(folder.mkpath("sub/deeper") && folder.mkpath("disc.img"));
        for (const char* name : { "Kestrin_01.img", "Kestrin_02_pregap.img", "sub/deeper/old.img", ".hidden.img",
                 "UPPER.IMG", "Mixed.Img", "notes.img.txt", "imgfile", "Kestrin.toc", "disc.img/inside.mpg" })
            QVERIFY(touch(folder.filePath(name)));
        QVERIFY(touch(folder.filePath("Kestrin.invalidimages"), "stale content"));
        QVERIFY(touch(QDir(elsewhere.path()).filePath("outside.img")));
        QVERIFY(QFile::link(elsewhere.path(), folder.filePath("linked")));

        MediaTree tree;
        tree.invalidateImages(project.path());

        for (const char* name : { "Kestrin_01.img", "Kestrin_02_pregap.img", "sub/deeper/old.img", ".hidden.img" })
            QVERIFY2(!QFile::exists(folder.filePath(name)), name);
        for (const char* name :
            { "UPPER.IMG", "Mixed.Img", "notes.img.txt", "imgfile", "Kestrin.toc", "disc.img/inside.mpg" })
            QVERIFY2(QFile::exists(folder.filePath(name)), name);
        QVERIFY(QFile::exists(QDir(elsewhere.path()).filePath("outside.img")));
        const QString marker = folder.filePath("Kestrin.invalidimages");
        QVERIFY(QFile::exists(marker));
        QCOMPARE(QFileInfo(marker).size(), 0);

        tree.validateImages(project.path());
        QVERIFY(!QFile::exists(marker));
        tree.validateImages(project.path());
        QVERIFY(!QFile::exists(marker));
    }

    void totalsCountWholeSecondsAndMissingItems()
    {
        const QString clip = Fixtures::tinyClip(QStringLiteral("59.9"));
        QVERIFY(!clip.isEmpty());
        QTemporaryDir folder;
        const QString gone = folder.filePath("deleted.mov");
        const QString notAMovie = folder.filePath("notes.mov");
        QVERIFY(touch(notAMovie, "not a movie at all"));
        auto tree = mediaTree(group("R", { clip, group("G", { gone, clip, "New Leaf" }), notAMovie, folder.path() }));
        QSignalSpy minutes(tree.get(), &MediaTree::usedMinutesChanged);
        QSignalSpy missing(tree.get(), &MediaTree::missingItemsChanged);
        QSignalSpy colour(tree.get(), &MediaTree::missingItemsColorChanged);

        tree->updateSizeInUI();
        QCOMPARE(tree->secondsUsed(), 118);
        QCOMPARE(tree->minutesUsed(), 118 / 60.0);
        QCOMPARE(tree->missingItems(), 2);
        QCOMPARE(tree->missingItemsColor(), QColor(Qt::red));
        QCOMPARE(colour.last().at(0).value<QColor>(), QColor(Qt::red));
        // The figures grow item by item, from zero.
        QCOMPARE(minutes.first().at(0).toDouble(), 0.0);
        QCOMPARE(minutes.size(), 1 + 6);
        QCOMPARE(minutes.at(1).at(0).toDouble(), 59 / 60.0);
        QCOMPARE(minutes.last().at(0).toDouble(), 118 / 60.0);
        QCOMPARE(missing.size(), 1 + 2);
        QCOMPARE(missing.last().at(0).toInt(), 2);

        // Counting starts again at zero each time.
        tree->treeData()->childAtIndex(1)->removeFromParent();
        tree->updateSizeInUI();
        QCOMPARE(tree->secondsUsed(), 59);
        QCOMPARE(tree->missingItems(), 0);
        QCOMPARE(colour.last().at(0).value<QColor>(), QColor(Qt::blue));
    }

    void barMaximumFollowsTheDiscFormat()
    {
        const QString minute = Fixtures::tinyClip(QStringLiteral("60"));
        QVERIFY(!minute.isEmpty());
        QVariantList entries;
        for (int count = 0; count < 111; ++count)
            entries << minute;
        SettingsModel settings;
        settings.setValue(QStringLiteral("FormatVCD"), 1);
        auto tree = mediaTree(group("R", entries), &settings);
        QSignalSpy maximum(tree.get(), &MediaTree::barMaximumChanged);
        tree->updateSizeInUI();
        QCOMPARE(maximum.last().at(0).toInt(), 74);
        QCOMPARE(tree->minutesUsed(), 111.0);

        settings.setValue(QStringLiteral("FormatVCD"), 0);
        QCOMPARE(maximum.last().at(0).toInt(), 40);
        QCOMPARE(tree->barMaximum(), 40);
    }
};

QTEST_GUILESS_MAIN(TestMediaTree)
#include "tst_mediatree.moc"
