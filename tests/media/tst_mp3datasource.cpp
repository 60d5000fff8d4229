#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "media/TreeFile.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "settings/SettingsModel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QVariantMap group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

using Place = QList<int>;
using Paths = QList<QStringList>;

// A project folder, a media tree loaded from a tree file and the tree view
// showing it, with Qt's model checker watching every change.
struct Project
{
    QTemporaryDir dir;
    SettingsModel settings;
    MediaTree tree { &settings };
    MP3DataSource source { &tree, &settings };
    QAbstractItemModelTester tester { &source, QAbstractItemModelTester::FailureReportingMode::QtTest };
    MP3OutlineView view;

    explicit Project(const QVariantMap &dictionary)
    {
        settings.setProjectFolder(dir.path());
        const QString treeFile = path(QString::fromLatin1(MediaTree::kTreeFileName));
        TreeFile::write(treeFile, SimpleTreeNode::treeFromDictionary(dictionary).get());
        tree.loadFromFile(treeFile);
        source.awakeFromNib(&view);
        view.resize(500, 400);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            qWarning("the tree view was not shown");
    }

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    QModelIndex at(const Place &place, int column = MP3DataSource::NameColumn) const
    {
        QModelIndex index;
        for (int row : place)
            index = source.index(row, 0, index);
        return index.siblingAtColumn(column);
    }

    QString nameAt(const Place &place) const { return SimpleTreeNode::nameOf(source.nodeForIndex(at(place))); }

    void select(const QList<Place> &places)
    {
        view.selectionModel()->clearSelection();
        for (const Place &place : places)
            view.selectionModel()->select(at(place), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    qint64 iconAt(const Place &place) const
    {
        return source.data(at(place), Qt::DecorationRole).value<QIcon>().cacheKey();
    }
    qint64 icon(int position) const { return source.randomIconImage(position).cacheKey(); }
};

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// A real movie in the test's folder.
QString copyOfMovie(const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    if (!QFile::copy(Fixtures::tinyClip(QStringLiteral("1")), path))
        qWarning("could not copy the fixture movie to %s", qPrintable(path));
    return path;
}

} // namespace

class TestMP3DataSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!Fixtures::tinyClip(QStringLiteral("1")).isEmpty()); }

    void theThreeIconsAreKestrinsOwn()
    {
        Project project(group("R", {}));
        QVERIFY(!project.source.randomIconImage(MP3DataSource::MediaIcon).isNull());
        QVERIFY(!project.source.randomIconImage(MP3DataSource::OpenableGroupIcon).isNull());
        QVERIFY(!project.source.randomIconImage(MP3DataSource::MissingIcon).isNull());
        QVERIFY(project.icon(0) != project.icon(1) && project.icon(1) != project.icon(2));
        QVERIFY(project.source.randomIconImage(3).isNull());
    }

    void columnsAnswerByNodeKind()
    {
        Project project(group("R", { "/gone/a.mov", group("G", {}) }));
        QCOMPARE(
            project.source.headerData(0, Qt::Horizontal, MP3DataSource::ColumnIdentifierRole), QVariant("NameColumn"));
        QCOMPARE(project.source.headerData(1, Qt::Horizontal, MP3DataSource::ColumnIdentifierRole),
            QVariant("IsExpandableColumn"));
        QCOMPARE(project.source.headerData(2, Qt::Horizontal, MP3DataSource::ColumnIdentifierRole),
            QVariant("NodeKindColumn"));
        const QModelIndex item = project.at({ 0 });
        const QModelIndex groupRow = project.at({ 1 });
        QCOMPARE(item.siblingAtColumn(2).data(), QVariant("Leaf"));
        QCOMPARE(groupRow.siblingAtColumn(2).data(), QVariant("Group"));
        QVERIFY(!item.siblingAtColumn(1).data(Qt::CheckStateRole).isValid());
        QCOMPARE(groupRow.siblingAtColumn(1).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!(project.source.flags(item.siblingAtColumn(1)) & Qt::ItemIsUserCheckable));
        QVERIFY(project.source.flags(groupRow.siblingAtColumn(1)) & Qt::ItemIsUserCheckable);
        // Every group shows an opening mark, even an empty one.
        QVERIFY(project.source.hasChildren(groupRow));
        QVERIFY(!project.source.hasChildren(item));
    }

    void newNodes_data()
    {
        QTest::addColumn<QVariantMap>("dictionary");
        QTest::addColumn<QList<Place>>("selection");
        QTest::addColumn<bool>("isGroup");
        QTest::addColumn<Place>("expectedPlace");
        QTest::addColumn<QString>("expectedName");

        const QVariantMap numbered = group("R", { group("New Folder", {}), "/m/a.mov", group("New Folder 1", {}) });
        QTest::newRow("numbered at the top of the root")
            << numbered << QList<Place>() << true << Place { 0 } << "New Folder 2";
        QTest::newRow("right after a selected item")
            << group("R", { group("G", { "/m/0.mov", "/m/1.mov", "/m/2.mov", "/m/3.mov", "/m/4.mov" }) })
            << QList<Place> { { 0, 3 } } << true << Place { 0, 4 } << "New Folder";
        QTest::newRow("at the top of a selected group")
            << group("R", { "/m/a.mov", group("G", { "/m/b.mov" }) }) << QList<Place> { { 1 } } << true
            << Place { 1, 0 } << "New Folder";
        QTest::newRow("the first selected node is the anchor")
            << group("R", { "/m/a.mov", group("G", {}) }) << QList<Place> { { 1 }, { 0 } } << true << Place { 1 }
            << "New Folder";
        QTest::newRow("a group's name counts for a new item")
            << group("R", { group("New Leaf", {}), group("New Leaf 1", {}) }) << QList<Place>() << false << Place { 0 }
            << "New Leaf 2";
        QTest::newRow("the same name in another group is no duplicate")
            << group("R", { group("G", { group("New Folder", {}) }), "/m/a.mov" }) << QList<Place> { { 1 } } << true
            << Place { 2 } << "New Folder";
    }

    void newNodes()
    {
        QFETCH(QVariantMap, dictionary);
        QFETCH(QList<Place>, selection);
        QFETCH(bool, isGroup);
        QFETCH(Place, expectedPlace);
        QFETCH(QString, expectedName);
        Project project(dictionary);
        project.view.expandAll();
        project.select(selection);

        if (isGroup)
            project.source.addGroup();
        else
            project.source.addLeaf();

        const QModelIndex added = project.at(expectedPlace);
        QCOMPARE(project.nameAt(expectedPlace), expectedName);
        QCOMPARE(SimpleTreeNode::isLeafNode(project.source.nodeForIndex(added)), !isGroup);
        QCOMPARE(project.source.selectedNodes(), QList<TreeNode *> { project.source.nodeForIndex(added) });
        auto *editor = qobject_cast<QLineEdit *>(project.view.indexWidget(added));
        if (isGroup) {
            // Its name is open for typing, all of it selected.
            QVERIFY(editor);
            QCOMPARE(editor->text(), expectedName);
            QCOMPARE(editor->selectedText(), expectedName);
        } else {
            // A new item names no file: it is missing, and no name typed
            // would change that.
            QVERIFY(!editor);
            QCOMPARE(project.iconAt(expectedPlace), project.icon(MP3DataSource::MissingIcon));
        }
    }

    void aNewNodeInAClosedGroupIsNotSelected()
    {
        Project project(group("R", { group("G", { "/m/a.mov" }) }));
        project.select({ { 0 } });
        project.source.addGroup();
        QCOMPARE(project.nameAt({ 0, 0 }), QString("New Folder"));
        QCOMPARE(project.source.selectedNodes(), QList<TreeNode *> { project.source.nodeForIndex(project.at({ 0 })) });
        QVERIFY(project.view.findChildren<QLineEdit *>().isEmpty());
    }

    void numberedNamesStopAtTheLastNumber()
    {
        QVariantList entries { group("Clip", {}) };
        for (int number = 1; number <= MP3DataSource::kLastNameNumber; ++number)
            entries.append(group(QStringLiteral("Clip %1").arg(number), {}));
        const std::unique_ptr<SimpleTreeNode> root = SimpleTreeNode::treeFromDictionary(group("R", entries));
        std::unique_ptr<TreeNode> node = TreeNode::treeNodeWithData(SimpleNodeData::groupDataWithName("Clip"));
        MP3DataSource::numberName(node.get(), root.get());
        QCOMPARE(SimpleTreeNode::nameOf(node.get()), QString("Clip 31999"));

        root->removeChild(root->childAtIndex(2));
        std::unique_ptr<TreeNode> second = TreeNode::treeNodeWithData(SimpleNodeData::groupDataWithName("Clip"));
        MP3DataSource::numberName(second.get(), root.get());
        QCOMPARE(SimpleTreeNode::nameOf(second.get()), QString("Clip 2"));
    }

    void rename_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<Paths>("reported");

        QTest::newRow("a group") << Place { 1 } << "Holidays"
                                 << "Holidays" << false << Paths { { "R/Trips", "R/Holidays" } };
        QTest::newRow("a group inside a group") << Place { 1, 0 } << "Beach"
                                                << "Beach" << false << Paths { { "R/Trips/Sea", "R/Trips/Beach" } };
        QTest::newRow("to a sibling's name") << Place { 1 } << "Work"
                                             << "Trips" << true << Paths();
        QTest::newRow("names differ by case") << Place { 1 } << "work"
                                              << "work" << false << Paths { { "R/Trips", "R/work" } };
        QTest::newRow("to its own name") << Place { 1 } << "Trips"
                                         << "Trips" << false << Paths();
        QTest::newRow("to nothing") << Place { 1 } << ""
                                    << "Trips" << true << Paths();
        QTest::newRow("a media item") << Place { 0 } << "b.mov"
                                      << "/m/a.mov" << false << Paths();
        QTest::newRow("a folder's group shown by its last part") << Place { 3 } << "Ski"
                                                                 << "/Users/ann/Ski" << false << Paths();
        QTest::newRow("a folder's group") << Place { 3 } << "Snow"
                                          << "Snow" << false << Paths { { "R/Users/ann/Ski", "R/Snow" } };
    }

    void rename()
    {
        QFETCH(Place, place);
        QFETCH(QString, typed);
        QFETCH(QString, expectedName);
        QFETCH(bool, refused);
        QFETCH(Paths, reported);
        Project project(group(
            "R", { "/m/a.mov", group("Trips", { group("Sea", {}) }), group("Work", {}), group("/Users/ann/Ski", {}) }));
        project.view.expandAll();
        QSignalSpy refusals(&project.source, &MP3DataSource::refused);
        QSignalSpy paths(&project.source, &MP3DataSource::pathChanged);

        // Typed into the row's editor, as a person renames.
        project.select({ place });
        if (project.source.flags(project.at(place)) & Qt::ItemIsEditable) {
            project.view.edit(project.at(place));
            auto *editor = qobject_cast<QLineEdit *>(project.view.indexWidget(project.at(place)));
            QVERIFY(editor);
            editor->setText(typed);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(project.view.findChildren<QLineEdit *>().isEmpty());
        } else {
            QVERIFY(!project.source.setData(project.at(place), typed));
        }

        QCOMPARE(project.nameAt(place), expectedName);
        QCOMPARE(refusals.count(), refused ? 1 : 0);
        Paths seen;
        for (const QList<QVariant> &arguments : paths)
            seen.append({ arguments.at(0).toString(), arguments.at(1).toString() });
        QCOMPARE(seen, reported);
    }

    void deletingAGroupAndOneOfItsItems()
    {
        QTemporaryDir movies;
        const QString beach = copyOfMovie(movies.path(), "beach.mov");
        const QString city = copyOfMovie(movies.path(), "city.mov");
        const QString kept = copyOfMovie(movies.path(), "kept.mov");
        Project project(group("R", { kept, group("Trips", { beach, city }), "/gone/x.mov" }));
        project.view.expandAll();
        for (const char *name : { "Trips.mpg", "beach.mpg", "city.mpg", "kept.mpg", "Kestrin_01.img" })
            QVERIFY(touch(project.path(name)));
        QSignalSpy paths(&project.source, &MP3DataSource::pathChanged);
        QSignalSpy missing(&project.tree, &MediaTree::missingItemsChanged);

        project.select({ { 1, 0 }, { 1 } });
        project.source.deleteSelections();

        QCOMPARE(paths.count(), 2);
        QCOMPARE(paths.at(0), (QList<QVariant> { "R/Trips", QString() }));
        QVERIFY(paths.at(0).at(1).toString().isNull());
        QCOMPARE(paths.at(1), (QList<QVariant> { "R/Trips" + beach, QString() }));
        // The converted files of the selected nodes go; the group's other
        // item keeps its own.
        QVERIFY(!QFile::exists(project.path("Trips.mpg")));
        QVERIFY(!QFile::exists(project.path("beach.mpg")));
        QVERIFY(QFile::exists(project.path("city.mpg")));
        QVERIFY(QFile::exists(project.path("kept.mpg")));
        // The disc image is out of date.
        QVERIFY(!QFile::exists(project.path("Kestrin_01.img")));
        QVERIFY(QFile::exists(project.path(MediaTree::kInvalidImagesFileName)));
        // The group went with all its children.
        QCOMPARE(project.source.rowCount(), 2);
        QCOMPARE(project.nameAt({ 0 }), kept);
        QCOMPARE(project.nameAt({ 1 }), QString("/gone/x.mov"));
        QVERIFY(project.source.selectedNodes().isEmpty());
        QVERIFY(!project.source.canDeleteSelections());
        // The totals were counted again.
        QVERIFY(!missing.isEmpty());
        QCOMPARE(project.tree.missingItems(), 1);
        QCOMPARE(project.tree.secondsUsed(), 1);
    }

    void deletingWithoutAProjectTouchesNoFiles()
    {
        Project project(group("R", { "/m/trip.mov" }));
        project.settings.setProjectFolder(QString());
        QTemporaryDir current;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        QVERIFY(touch("trip.mpg") && touch("old.img"));
        project.select({ { 0 } });
        project.source.deleteSelections();
        QVERIFY(QFile::exists("trip.mpg") && QFile::exists("old.img"));
        QVERIFY(!QFile::exists(MediaTree::kInvalidImagesFileName));
        QDir::setCurrent(before);
        QCOMPARE(project.source.rowCount(), 0);
    }

    void deleteIsPossibleOnlyWithASelection()
    {
        Project project(group("R", { "/m/a.mov", group("G", {}) }));
        QSignalSpy changes(&project.source, &MP3DataSource::canDeleteSelectionsChanged);
        QVERIFY(!project.source.canDeleteSelections());
        QTest::mouseClick(
            project.view.viewport(), Qt::LeftButton, {}, project.view.visualRect(project.at({ 1 })).center());
        QVERIFY(project.source.canDeleteSelections());
        QCOMPARE(changes.last().first().toBool(), true);
        project.view.clearSelection();
        QVERIFY(!project.source.canDeleteSelections());
        QCOMPARE(changes.last().first().toBool(), false);
    }

    void switchingOffOpeningClosesAGroup()
    {
        Project project(group("R", { group("Trips", { "/m/a.mov" }) }));
        const QModelIndex trips = project.at({ 0 });
        project.view.expand(trips);
        QVERIFY(project.view.isExpanded(trips));
        QCOMPARE(project.iconAt({ 0 }), project.icon(MP3DataSource::OpenableGroupIcon));

        QVERIFY(project.source.setData(trips.siblingAtColumn(1), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!project.view.isExpanded(trips));
        project.view.expand(trips);
        QVERIFY(!project.view.isExpanded(trips));
        // Its plain name names no folder: it is drawn as missing, by its name.
        QCOMPARE(project.iconAt({ 0 }), project.icon(MP3DataSource::MissingIcon));
        QCOMPARE(trips.data().toString(), QString("Trips"));

        QVERIFY(project.source.setData(trips.siblingAtColumn(1), Qt::Checked, Qt::CheckStateRole));
        project.view.expand(trips);
        QVERIFY(project.view.isExpanded(trips));
    }

    void aGroupOfAnExistingFolderThatMayNotOpen()
    {
        QTemporaryDir folder;
        Project project(group("R", { group(folder.path(), {}) }));
        const QModelIndex row = project.at({ 0 });
        project.source.setData(row.siblingAtColumn(1), Qt::Unchecked, Qt::CheckStateRole);
        QCOMPARE(project.iconAt({ 0 }), project.icon(MP3DataSource::MediaIcon));
        QCOMPARE(row.data().toString(), QFileInfo(folder.path()).fileName());
    }

    void aDeletedMovieShowsAsMissing()
    {
        QTemporaryDir movies;
        const QString movie = copyOfMovie(movies.path(), "trip.mov");
        Project project(group("R", { movie }));
        const QModelIndex row = project.at({ 0 });
        project.view.grab();
        const SimpleNodeData *data = SimpleTreeNode::dataOf(project.source.nodeForIndex(row));
        QCOMPARE(data->iconRep().cacheKey(), project.icon(MP3DataSource::MediaIcon));
        QCOMPARE(row.data().toString(), QString("trip.mov"));
        QVERIFY(!row.data(Qt::ForegroundRole).isValid());

        const QString aside = movie + ".aside";
        QVERIFY(QFile::rename(movie, aside));
        project.view.grab();
        QCOMPARE(data->iconRep().cacheKey(), project.icon(MP3DataSource::MissingIcon));
        QCOMPARE(row.data().toString(), movie);
        QCOMPARE(row.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));

        QVERIFY(QFile::rename(aside, movie));
        project.view.grab();
        QCOMPARE(data->iconRep().cacheKey(), project.icon(MP3DataSource::MediaIcon));
        QCOMPARE(row.data().toString(), QString("trip.mov"));
    }

    void sortingKeepsTheSelectionAndOpenGroups()
    {
        Project project(group("R", { "/m/b.mov", group("G", { "/m/z.mov", "/m/Y.mov" }), "/m/B.mov", "/m/a.mov" }));
        project.view.expandAll();
        project.select({ { 1, 0 }, { 3 } });
        const QList<TreeNode *> selected = project.source.selectedNodes();
        project.source.sortData();
        QCOMPARE(project.nameAt({ 0 }), QString("/m/B.mov"));
        QCOMPARE(project.nameAt({ 1 }), QString("/m/a.mov"));
        QCOMPARE(project.nameAt({ 2 }), QString("/m/b.mov"));
        QCOMPARE(project.nameAt({ 3 }), QString("G"));
        QCOMPARE(project.nameAt({ 3, 0 }), QString("/m/Y.mov"));
        QVERIFY(project.view.isExpanded(project.at({ 3 })));
        QCOMPARE(project.source.selectedNodes(), (QList<TreeNode *> { selected.at(1), selected.at(0) }));
        QCOMPARE(project.source.selectedNodes().at(1), project.source.nodeForIndex(project.at({ 3, 1 })));
    }

    void clickingAMovieSelectsItForThePreview()
    {
        Project project(group("R", { "/m/a.mov", "/m/b.mov" }));
        QSignalSpy selected(&project.source, &MP3DataSource::mediaSelected);
        project.source.selectMedia();
        QVERIFY(selected.isEmpty());
        QTest::mouseClick(
            project.view.viewport(), Qt::LeftButton, {}, project.view.visualRect(project.at({ 1 })).center());
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first().first().toString(), QString("/m/b.mov"));
    }

    void selectionHelpersPassOverHiddenRows()
    {
        Project project(group("R", { group("G", { "/m/a.mov" }), "/m/b.mov" }));
        TreeNode *g = project.source.nodeForIndex(project.at({ 0 }));
        TreeNode *a = g->childAtIndex(0);
        TreeNode *b = project.source.treeData()->childAtIndex(1);
        project.view.selectItems({ b, a, g }, false);
        QCOMPARE(project.view.allSelectedItems(), (QList<TreeNode *> { g, b }));
        project.view.expandAll();
        project.view.selectItems({ a }, true);
        QCOMPARE(project.view.allSelectedItems(), (QList<TreeNode *> { g, a, b }));
        QCOMPARE(project.view.selectedItem(), g);
        project.view.selectItems({ a }, false);
        QCOMPARE(project.view.allSelectedItems(), QList<TreeNode *> { a });
        // Closing the group hides its selected row.
        project.view.collapse(project.at({ 0 }));
        QVERIFY(project.view.allSelectedItems().isEmpty());
    }

    void loadingAnotherTreeResetsTheView()
    {
        Project project(group("R", { "/m/a.mov" }));
        project.select({ { 0 } });
        QSignalSpy resets(&project.source, &QAbstractItemModel::modelReset);
        const QString other = project.path("other.tree");
        TreeFile::write(other, SimpleTreeNode::treeFromDictionary(group("S", { "/m/b.mov", "/m/c.mov" })).get());
        project.tree.loadFromFile(other);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(project.source.rowCount(), 2);
        QVERIFY(project.source.selectedNodes().isEmpty());
    }
};

QTEST_MAIN(TestMP3DataSource)
#include "tst_mp3datasource.moc"
