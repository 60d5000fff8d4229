#include "media/SimpleNodeData.h"
#include "media/SimpleTreeNode.h"

#include <QTest>

namespace {

QVariantMap group(const QString& name, const QVariantList& entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

QStringList childNames(const TreeNode* node)
{
    QStringList names;
    for (const TreeNode* child : node->children())
        names << SimpleTreeNode::nameOf(child);
    return names;
}

std::unique_ptr<TreeNode> leaf(const QString& name)
{
    return TreeNode::treeNodeWithData(SimpleNodeData::leafDataWithName(name));
}

std::unique_ptr<TreeNode> groupNode(const QString& name)
{
    return TreeNode::treeNodeWithData(SimpleNodeData::groupDataWithName(name));
}

// R ( A ( P ( X ) ), G ( I ), H )
struct SampleTree {
    std::unique_ptr<SimpleTreeNode> root = SimpleTreeNode::treeFromDictionary(
        group("R", { group("A", { group("P", { "X" }) }), group("G", { "I" }), "H" }));
    TreeNode* a = root->childAtIndex(0);
    TreeNode* p = a->firstChild();
    TreeNode* x = p->firstChild();
    TreeNode* g = root->childAtIndex(1);
    TreeNode* i = g->firstChild();
    TreeNode* h = root->childAtIndex(2);
};

} // namespace

class TestTreeNode : public QObject {
    Q_OBJECT

private slots:
    void buildsFromADictionaryInOrder()
    {
        auto root = SimpleTreeNode::treeFromDictionary(
            group("Root", { "/m/a.mov", group("Trips", { "/m/b.mov", "/m/c.mov" }), "/m/d.mov" }));
        QCOMPARE(SimpleTreeNode::nameOf(root.get()), QStringLiteral("Root"));
        QCOMPARE(childNames(root.get()), (QStringList { "/m/a.mov", "Trips", "/m/d.mov" }));
        TreeNode* trips = root->childAtIndex(1);
        QCOMPARE(childNames(trips), (QStringList { "/m/b.mov", "/m/c.mov" }));
        QCOMPARE(trips->nodeParent(), root.get());
        QCOMPARE(trips->childAtIndex(1)->nodeParent(), trips);
        QVERIFY(SimpleTreeNode::isLeafNode(root->firstChild()));
        QVERIFY(!SimpleTreeNode::isLeafNode(trips));
        for (const TreeNode* node : { static_cast<const TreeNode*>(root.get()), static_cast<const TreeNode*>(trips) }) {
            QVERIFY(SimpleTreeNode::dataOf(node)->isExpandable());
            QVERIFY(SimpleTreeNode::dataOf(node)->iconRep().isNull());
        }
        QVERIFY(!SimpleTreeNode::dataOf(root->firstChild())->isExpandable());
    }

    void buildsWhatItCanFromOddDictionaries_data()
    {
        QTest::addColumn<QVariantMap>("dictionary");
        QTest::addColumn<QString>("rootName");
        QTest::addColumn<QStringList>("children");
        QTest::addColumn<int>("problems");
        QTest::newRow("empty entries") << group("R", {}) << "R" << QStringList() << 0;
        QTest::newRow("no entries") << QVariantMap { { "Group", "R" } } << "R" << QStringList() << 0;
        QTest::newRow("no name") << QVariantMap { { "Entries", QVariantList { "/a.mov" } } } << ""
                                 << QStringList { "/a.mov" } << 0;
        QTest::newRow("absent") << QVariantMap() << "" << QStringList() << 0;
        QTest::newRow("other keys") << QVariantMap { { "Group", "R" }, { "Colour", 3 } } << "R" << QStringList() << 0;
        QTest::newRow("name of another type") << QVariantMap { { "Group", 7 } } << "" << QStringList() << 1;
        QTest::newRow("entries not a list")
            << QVariantMap { { "Group", "R" }, { "Entries", "/a.mov" } } << "R" << QStringList() << 1;
        QTest::newRow("entries of other types")
            << group("R", { 5, "/a.mov", QVariantList { "/b.mov" }, true, group("G", {}) }) << "R"
            << QStringList { "/a.mov", "G" } << 3;
    }

    void buildsWhatItCanFromOddDictionaries()
    {
        QFETCH(QVariantMap, dictionary);
        QFETCH(QString, rootName);
        QFETCH(QStringList, children);
        QFETCH(int, problems);
        QStringList found;
        auto root = SimpleTreeNode::treeFromDictionary(dictionary, &found);
        QCOMPARE(SimpleTreeNode::nameOf(root.get()), rootName);
        QVERIFY(!SimpleTreeNode::isLeafNode(root.get()));
        QCOMPARE(childNames(root.get()), children);
        QCOMPARE(found.size(), problems);
    }

    void removalDetachesOnlyChildren()
    {
        SampleTree tree;
        QVERIFY(!tree.root->removeChild(tree.x));
        QCOMPARE(tree.p->numberOfChildren(), 1);
        QCOMPARE(tree.x->nodeParent(), tree.p);
        QVERIFY(!tree.root->removeFromParent());

        std::unique_ptr<TreeNode> a = tree.a->removeFromParent();
        QCOMPARE(a.get(), tree.a);
        QCOMPARE(a->nodeParent(), nullptr);
        QCOMPARE(childNames(tree.root.get()), (QStringList { "G", "H" }));
        QCOMPARE(tree.x->nodeParent(), tree.p);
        QCOMPARE(a->firstChild(), tree.p);

        tree.g->insertChild(std::move(a), 1);
        QCOMPARE(childNames(tree.g), (QStringList { "I", "A" }));
        QCOMPARE(tree.a->nodeParent(), tree.g);
    }

    void queriesOfChildren()
    {
        SampleTree tree;
        QCOMPARE(tree.root->indexOfChild(tree.h), 2);
        QCOMPARE(tree.root->indexOfChild(tree.x), TreeNode::kNotFound);
        QCOMPARE(TreeNode::kNotFound, 2147483647);
        QCOMPARE(tree.root->lastChild(), tree.h);
        QCOMPARE(tree.h->lastChild(), nullptr);
        QCOMPARE(tree.root->firstChild(), tree.a);

        const QList<TreeNode*> before = tree.root->children();
        tree.root->insertChild(leaf("/new.mov"), 0);
        tree.root->removeChild(tree.h);
        QCOMPARE(before, (QList<TreeNode*> { tree.a, tree.g, tree.h }));
    }

    void insertsSeveralInTheirOrder()
    {
        SampleTree tree;
        std::vector<std::unique_ptr<TreeNode>> nodes;
        nodes.push_back(leaf("/1.mov"));
        nodes.push_back(groupNode("Two"));
        TreeNode* two = nodes.back().get();
        tree.root->insertChildren(std::move(nodes), 1);
        QCOMPARE(childNames(tree.root.get()), (QStringList { "A", "/1.mov", "Two", "G", "H" }));
        QCOMPARE(two->nodeParent(), tree.root.get());
    }

    void descendantTests()
    {
        SampleTree tree;
        QVERIFY(tree.x->isDescendantOfNode(tree.x));
        QVERIFY(tree.x->isDescendantOfNode(tree.a));
        QVERIFY(tree.x->isDescendantOfNode(tree.root.get()));
        QVERIFY(!tree.a->isDescendantOfNode(tree.x));
        QVERIFY(!tree.x->isDescendantOfNode(tree.g));
        QVERIFY(tree.x->isDescendantOfNodeInArray({ tree.h, tree.p }));
        QVERIFY(!tree.x->isDescendantOfNodeInArray({ tree.h, tree.g }));
        QVERIFY(!tree.x->isDescendantOfNodeInArray({}));
    }

    void coverOfASelection_data()
    {
        QTest::addColumn<QStringList>("selection");
        QTest::addColumn<QStringList>("cover");
        QTest::newRow("group then its item") << QStringList { "G", "I" } << QStringList { "G" };
        QTest::newRow("item then its group") << QStringList { "I", "G" } << QStringList { "G" };
        QTest::newRow("item then its grandparent") << QStringList { "X", "A" } << QStringList { "A" };
        QTest::newRow("grandparent then item") << QStringList { "A", "X" } << QStringList { "A" };
        QTest::newRow("unrelated keep their order") << QStringList { "H", "X", "I" } << QStringList { "H", "X", "I" };
        QTest::newRow("covered node stands first") << QStringList { "I", "H", "G" } << QStringList { "G", "H" };
        QTest::newRow("a node twice") << QStringList { "H", "H" } << QStringList { "H" };
        QTest::newRow("chain") << QStringList { "X", "P", "A", "R" } << QStringList { "R" };
        QTest::newRow("nothing") << QStringList() << QStringList();
    }

    void coverOfASelection()
    {
        QFETCH(QStringList, selection);
        QFETCH(QStringList, cover);
        SampleTree tree;
        const QHash<QString, TreeNode*> byName { { "R", tree.root.get() }, { "A", tree.a }, { "P", tree.p },
            { "X", tree.x }, { "G", tree.g }, { "I", tree.i }, { "H", tree.h } };
        QList<TreeNode*> nodes;
        for (const QString& name : selection)
            nodes << byName.value(name);
        QStringList names;
        for (const TreeNode* node : TreeNode::minimumNodeCoverFromNodesInArray(nodes))
            names << SimpleTreeNode::nameOf(node);
        QCOMPARE(names, cover);
    }

    void sortsInCodePointOrder_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("case first") << QStringList { "b", "B", "a" } << QStringList { "B", "a", "b" };
        QTest::newRow("digits are not numbers")
            << QStringList { "/m/Clip2.mov", "/m/Clip10.mov" } << QStringList { "/m/Clip10.mov", "/m/Clip2.mov" };
        QTest::newRow("paths before names")
            << QStringList { "Trips", "9", "/m/a.mov" } << QStringList { "/m/a.mov", "9", "Trips" };
        QTest::newRow("prefix first") << QStringList { "ab", "a" } << QStringList { "a", "ab" };
        QTest::newRow("accents after ascii") << QStringList { "\u00e9", "z" } << QStringList { "z", "\u00e9" };
        // U+1F600 is stored as surrogates, which sort before U+FF21 as UTF-16.
        QTest::newRow("beyond the basic plane") << QStringList { QString::fromUcs4(U"\U0001F600"),
            QStringLiteral("\uFF21") } << QStringList { QStringLiteral("\uFF21"), QString::fromUcs4(U"\U0001F600") };
    }

    void sortsInCodePointOrder()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        auto root = groupNode("R");
        for (const QString& name : names)
            root->insertChild(leaf(name), root->numberOfChildren());
        root->recursiveSortChildren();
        QCOMPARE(childNames(root.get()), sorted);
    }

    void sortsEveryLevel()
    {
        auto root = SimpleTreeNode::treeFromDictionary(
            group("R", { group("b", { "/z.mov", group("y", { "/2", "/1" }), "/a.mov" }), group("a", {}) }));
        root->recursiveSortChildren();
        QCOMPARE(childNames(root.get()), (QStringList { "a", "b" }));
        TreeNode* b = root->childAtIndex(1);
        QCOMPARE(childNames(b), (QStringList { "/a.mov", "/z.mov", "y" }));
        QCOMPARE(childNames(b->lastChild()), (QStringList { "/1", "/2" }));
        QCOMPARE(b->lastChild()->nodeParent(), b);
    }

    void describesItself()
    {
        auto node = leaf("/m/a.mov");
        QCOMPARE(node->description(), QStringLiteral("{/m/a.mov}"));
        TreeNode bare(std::make_unique<TreeNodeData>());
        QCOMPARE(bare.description(), QStringLiteral("{}"));
        QVERIFY(bare.compare(*node) < 0);
        QVERIFY(node->compare(bare) < 0);
    }

    void deepTreesSortAndFree()
    {
        // Deeper than a call stack survives at one frame per level.
        const int depth = 200000;
        auto root = groupNode("R");
        TreeNode* node = root.get();
        for (int level = 0; level < depth; ++level) {
            node->insertChild(leaf("/item.mov"), 0);
            node = node->insertChild(groupNode(QString::number(level)), 0);
        }
        node->insertChild(leaf("/z.mov"), 0);
        node->insertChild(leaf("/a.mov"), 0);
        TreeNode* deepest = node;

        root->recursiveSortChildren();
        int levels = 0;
        for (node = root.get(); node != deepest; node = node->lastChild()) {
            QCOMPARE(childNames(node).first(), QStringLiteral("/item.mov"));
            ++levels;
        }
        QCOMPARE(levels, depth);
        QCOMPARE(childNames(deepest), (QStringList { "/a.mov", "/z.mov" }));
        QVERIFY(deepest->isDescendantOfNode(root.get()));
        root.reset();
    }
};

QTEST_GUILESS_MAIN(TestTreeNode)
#include "tst_treenode.moc"
