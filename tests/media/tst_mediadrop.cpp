#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "common/Fixtures.h"
#include "media/FolderSearch.h"
#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "media/TreeFile.h"
#include "media/ui/AddMediaPanel.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "media/ui/MediaDrop.h"
#include "media/ui/SearchSheet.h"
#include "settings/SettingsModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

using Place = QList<int>;

QVariantMap group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

// Names in the tests write the folder of the dropped files as "$".
QString expand(QString name, const QString &folder)
{
    return name.startsWith(QLatin1Char('$')) ? name.replace(0, 1, folder) : name;
}

QVariantMap expandTree(const QVariantMap &dictionary, const QString &folder)
{
    QVariantList entries;
    for (const QVariant &entry : dictionary.value(QStringLiteral("Entries")).toList()) {
        if (entry.typeId() == QMetaType::QVariantMap)
            entries << expandTree(entry.toMap(), folder);
        else
            entries << expand(entry.toString(), folder);
    }
    return group(expand(dictionary.value(QStringLiteral("Group")).toString(), folder), entries);
}

// The children of `node` as "name" for a media item and "name[children]"
// for a group, with the files' folder written as "$".
QString dump(const TreeNode *node, const QString &folder)
{
    QStringList parts;
    for (const TreeNode *child : node->children()) {
        QString name = SimpleTreeNode::nameOf(child);
        if (name.startsWith(folder))
            name.replace(0, folder.size(), QStringLiteral("$"));
        parts << (SimpleTreeNode::isLeafNode(child) ? name : name + QLatin1Char('[') + dump(child, folder) + u']');
    }
    return parts.join(QLatin1Char(' '));
}

// A file to drop, named with "$" for `folder`: a movie (a copy of a short
// clip), another file, a folder ("…/") or a symbolic link ("link>target").
void makeFile(const QString &file, const QString &folder)
{
    const QStringList link = file.split(QLatin1Char('>'));
    const QString path = expand(link.first(), folder);
    QDir().mkpath(QFileInfo(path).path());
    if (link.size() == 2)
        QFile::link(expand(link.last(), folder), path);
    else if (path.endsWith(QLatin1Char('/')))
        QDir().mkpath(path);
    else if (FolderSearch::isMovieName(path))
        QFile::copy(Fixtures::tinyClip(QStringLiteral("1")), path);
    else if (QFile text(path); text.open(QIODevice::WriteOnly))
        text.write("not a movie\n");
}

// A project folder with its media tree in a tree view, watched by Qt's
// model checker, and a folder of real files to drop.
struct Project
{
    QTemporaryDir projectFolder;
    QTemporaryDir filesFolder;
    SettingsModel settings;
    MediaTree tree { &settings };
    MP3DataSource source { &tree, &settings };
    QAbstractItemModelTester tester { &source, QAbstractItemModelTester::FailureReportingMode::QtTest };
    MP3OutlineView view;

    explicit Project(const QVariantMap &dictionary, const QStringList &files = {})
    {
        for (const QString &file : files)
            makeFile(file, folder());
        settings.setProjectFolder(projectFolder.path());
        TreeFile::write(treeFile(), SimpleTreeNode::treeFromDictionary(expandTree(dictionary, folder())).get());
        tree.loadFromFile(treeFile());
        source.awakeFromNib(&view);
        view.expandAll();
        view.resize(500, 400);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            qWarning("the tree view was not shown");
    }

    MediaDrop &drop() { return *source.mediaDrop(); }
    QString folder() const { return filesFolder.path(); }
    QString treeFile() const { return projectFolder.filePath(QString::fromLatin1(MediaTree::kTreeFileName)); }
    bool imageInvalidated() const
    {
        return QFile::exists(projectFolder.filePath(QString::fromLatin1(MediaTree::kInvalidImagesFileName)));
    }
    QString shown() const { return dump(tree.treeData(), folder()); }
    QString saved() const { return dump(TreeFile::read(treeFile()).tree.get(), folder()); }

    TreeNode *node(const Place &place) const
    {
        TreeNode *node = tree.treeData();
        for (int index : place)
            node = node->childAtIndex(index);
        return node;
    }
    QModelIndex at(const Place &place) const { return source.indexForNode(node(place)); }

    std::unique_ptr<QMimeData> files(const QStringList &paths) const
    {
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(expand(path, folder()));
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    }

    // A drag of those nodes as the view starts it.
    std::unique_ptr<QMimeData> dragOf(const QList<Place> &places)
    {
        QModelIndexList indexes;
        view.selectionModel()->clearSelection();
        for (const Place &place : places) {
            indexes << at(place) << at(place).siblingAtColumn(MP3DataSource::IsExpandableColumn);
            view.selectionModel()->select(at(place), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        return std::unique_ptr<QMimeData>(source.mimeData(indexes));
    }

    QStringList selectedNames() const
    {
        QStringList names;
        for (const TreeNode *node : source.selectedNodes())
            names << SimpleTreeNode::nameOf(node).replace(folder(), QStringLiteral("$"));
        return names;
    }

    int visibleSheets() const
    {
        int sheets = 0;
        for (const SearchSheet *sheet : view.findChildren<SearchSheet *>())
            sheets += sheet->isVisible() ? 1 : 0;
        return sheets;
    }
};

const QStringList kFourGroups { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D") };

} // namespace

class TestMediaDrop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!Fixtures::tinyClip(QStringLiteral("1")).isEmpty()); }

    void droppedFiles_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<Place>("into");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("missing");

        QTest::newRow("three movies between the first and second child")
            << QStringList { "$/a.mov", "$/b.MOV", "$/c.mp4" } << Place { 0 } << 1
            << "G[$/x.mov $/a.mov $/b.MOV $/c.mp4 $/y.avi]" << QStringList { "$/c.mp4" } << false << 0;
        QTest::newRow("onto a group: at its top")
            << QStringList { "$/a.mov" } << Place { 0 } << -1 << "G[$/a.mov $/x.mov $/y.avi]"
            << QStringList { "$/a.mov" } << false << 0;
        QTest::newRow("below the last row: at the end of the top level")
            << QStringList { "$/a.mov" } << Place {} << -1 << "G[$/x.mov $/y.avi] $/a.mov" << QStringList { "$/a.mov" }
            << false << 0;
        QTest::newRow("a text file, then a movie: nothing") << QStringList { "$/notes.txt", "$/a.mov" } << Place { 0 }
                                                            << 0 << "G[$/x.mov $/y.avi]" << QStringList() << true << 0;
        QTest::newRow("a movie, then a text file: the movie")
            << QStringList { "$/a.mov", "$/notes.txt", "$/b.MOV" } << Place { 0 } << 0 << "G[$/a.mov $/x.mov $/y.avi]"
            << QStringList { "$/a.mov" } << true << 0;
        QTest::newRow("the same movie twice: numbered, names no file")
            << QStringList { "$/x.mov" } << Place { 0 } << 2 << "G[$/x.mov $/y.avi $/x.mov 1]"
            << QStringList { "$/x.mov 1" } << false << 1;
    }

    // Files in list order at the drop's place, the last one selected, the
    // tree saved and the disc image thrown away; a file that is no movie
    // beeps and ends the list, and what came before it stays and is saved.
    void droppedFiles()
    {
        QFETCH(QStringList, paths);
        QFETCH(Place, into);
        QFETCH(int, row);
        QFETCH(QString, after);
        QFETCH(QStringList, selected);
        QFETCH(bool, refused);
        QFETCH(int, missing);
        Project project(group("R", { group("G", { "$/x.mov", "$/y.avi" }) }),
            { "$/x.mov", "$/y.avi", "$/a.mov", "$/b.MOV", "$/c.mp4", "$/notes.txt" });
        const QString before = project.shown();
        QSignalSpy refusals(&project.source, &MP3DataSource::refused);

        const std::unique_ptr<QMimeData> data = project.files(paths);
        QVERIFY(project.source.canDropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)));
        QVERIFY(project.source.dropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)));

        QCOMPARE(project.shown(), after);
        QCOMPARE(project.selectedNames(), selected);
        QCOMPARE(refusals.count(), refused ? 1 : 0);
        const bool changed = after != before;
        QCOMPARE(project.saved(), changed ? after : before);
        QCOMPARE(project.imageInvalidated(), changed);
        QCOMPARE(project.tree.missingItems(), missing);
        QVERIFY(!project.drop().isSearching());
    }

    void droppedFolders_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("after");

        QTest::newRow("a movie, an empty folder and a folder with a movie")
            << QStringList { "$/F/a.mov", "$/F/Empty/", "$/F/Sub/b.avi", "$/F/Sub/Deeper/", "$/F/notes.txt" }
            << QStringList { "$/F" } << "$/F[$/F/Sub[$/F/Sub/b.avi] $/F/a.mov]";
        QTest::newRow("names in code-point order, movies deep down")
            << QStringList { "$/F/b/c/clip.MPEG", "$/F/b/empty/", "$/F/B.mpg", "$/F/a.mov" } << QStringList { "$/F" }
            << "$/F[$/F/B.mpg $/F/a.mov $/F/b[$/F/b/c[$/F/b/c/clip.MPEG]]]";
        QTest::newRow("a cycle of symbolic links ends")
            << QStringList { "$/F/a.mov", "$/F/Sub/b.mov", "$/F/Sub/loop>$/F", "$/F/Sub/self>$/F/Sub" }
            << QStringList { "$/F" } << "$/F[$/F/Sub[$/F/Sub/b.mov] $/F/a.mov]";
        QTest::newRow("a folder without movies stays, empty")
            << QStringList { "$/F/notes.txt", "$/F/Sub/" } << QStringList { "$/F" } << "$/F[]";
        QTest::newRow("the same folder twice: the second is numbered and names no folder")
            << QStringList { "$/F/a.mov" } << QStringList { "$/F", "$/F" } << "$/F[$/F/a.mov] $/F 1[]";
        QTest::newRow("two folders and a movie at once")
            << QStringList { "$/F/a.mov", "$/G/Sub/b.mp4", "$/c.avi" } << QStringList { "$/F", "$/c.avi", "$/G" }
            << "$/F[$/F/a.mov] $/c.avi $/G[$/G/Sub[$/G/Sub/b.mp4]]";
    }

    // Each dropped folder becomes a group that its search fills with the
    // folders that hold movies and the movies; one sheet for all searches;
    // the tree file holds the finds once the last search has ended.
    void droppedFolders()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, paths);
        QFETCH(QString, after);
        Project project(group("R", {}), files);
        QSignalSpy finished(&project.drop(), &MediaDrop::searchesFinished);

        const std::unique_ptr<QMimeData> data = project.files(paths);
        QVERIFY(project.source.dropMimeData(data.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QCOMPARE(project.visibleSheets(), 1);

        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!project.drop().isSearching());
        QCOMPARE(project.shown(), after);
        QCOMPARE(project.saved(), after);
        QTRY_COMPARE(project.visibleSheets(), 0);
        QVERIFY(project.imageInvalidated());
    }

    void excludedFolders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("excluded");
        QTest::newRow("/private") << "/private" << true;
        QTest::newRow("/private/tmp/clips") << "/private/tmp/clips" << true;
        QTest::newRow("/Network/Servers/x") << "/Network/Servers/x" << true;
        QTest::newRow("/automount/x") << "/automount/x" << true;
        QTest::newRow("/proc/1") << "/proc/1" << true;
        QTest::newRow("/privateer") << "/privateer" << false;
        QTest::newRow("/devices") << "/devices" << false;
        QTest::newRow("/home/ann/private") << "/home/ann/private" << false;
    }

    // Whole path components: "/privateer" is an ordinary folder.
    void excludedFolders()
    {
        QFETCH(QString, path);
        QFETCH(bool, excluded);
        QCOMPARE(FolderSearch::isExcludedFolder(path), excluded);
    }

    // A real folder under /private, where this machine lets the test make one.
    void aFolderUnderPrivateGivesAnEmptyGroup()
    {
        const bool hadPrivate = QFileInfo::exists(QStringLiteral("/private"));
        const QString folder = QStringLiteral("/private/kestrin-test-%1").arg(QCoreApplication::applicationPid());
        if (!QDir().mkpath(folder))
            QSKIP("no folder can be made under /private here");
        const auto removeFolder = qScopeGuard([&] {
            QDir(folder).removeRecursively();
            if (!hadPrivate)
                QDir().rmdir(QStringLiteral("/private"));
        });
        QVERIFY(QFile::copy(Fixtures::tinyClip(QStringLiteral("1")), folder + QStringLiteral("/a.mov")));
        Project project(group("R", {}));
        QSignalSpy finished(&project.drop(), &MediaDrop::searchesFinished);

        QVERIFY(project.drop().dropPaths({ folder }));
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(project.shown(), folder + QStringLiteral("[]"));
        QTRY_COMPARE(project.visibleSheets(), 0);
    }

    void cancelKeepsWhatWasAdded_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("one folder") << QStringList { "$/X" };
        QTest::newRow("two folders, one Cancel") << QStringList { "$/X", "$/Y" };
    }

    // Cancel stops every search at the next folder it begins; the movies
    // found before stay in the tree and in its file.
    void cancelKeepsWhatWasAdded()
    {
        QFETCH(QStringList, folders);
        QStringList files;
        QStringList after;
        for (const QString &folder : folders) {
            files << folder + "/a1.mov" << folder + "/a2.mov" << folder + "/m/c.mov" << folder + "/n.mov";
            after << folder + "[" + folder + "/a1.mov " + folder + "/a2.mov]";
        }
        Project project(group("R", {}), files);
        QSignalSpy finished(&project.drop(), &MediaDrop::searchesFinished);
        // Each search waits at its folder "m" until Cancel has been clicked.
        QSemaphore atM;
        QSemaphore cancelled;
        connect(&project.drop(), &MediaDrop::searchStarted, this, [&](FolderSearch *search) {
            connect(
                search, &FolderSearch::folderBegun, search,
                [&](const QString &path) {
                    if (path.endsWith(QStringLiteral("/m"))) {
                        atM.release();
                        cancelled.tryAcquire(1, 20000);
                    }
                },
                Qt::DirectConnection);
        });

        const std::unique_ptr<QMimeData> data = project.files(folders);
        QVERIFY(project.source.dropMimeData(data.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QTRY_COMPARE(atM.available(), folders.size());
        QCOMPARE(project.visibleSheets(), 1);
        SearchSheet *sheet = project.view.findChild<SearchSheet *>();
        QTest::mouseClick(sheet->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        cancelled.release(int(folders.size()));

        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(project.shown(), after.join(u' '));
        QCOMPARE(project.saved(), after.join(u' '));
        QTRY_COMPARE(project.visibleSheets(), 0);
    }

    void movingNodes_data()
    {
        QTest::addColumn<QVariantMap>("tree");
        QTest::addColumn<QList<Place>>("dragged");
        QTest::addColumn<Place>("into");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("paths");

        QVariantList four;
        for (const QString &name : kFourGroups)
            four << group(name, {});
        QTest::newRow("A and B after D") << group("R", { group("G", four) }) << QList<Place> { { 0, 0 }, { 0, 1 } }
                                         << Place { 0 } << 4 << "G[C[] D[] A[] B[]]"
                                         << QStringList { "R/G/A>R/G/A", "R/G/B>R/G/B" };
        QTest::newRow("C and D to the top, picked in reverse")
            << group("R", { group("G", four) }) << QList<Place> { { 0, 3 }, { 0, 2 } } << Place { 0 } << 0
            << "G[C[] D[] A[] B[]]" << QStringList { "R/G/C>R/G/C", "R/G/D>R/G/D" };
        QTest::newRow("onto another group: at its top")
            << group("R", { group("G", { group("A", {}), group("B", {}) }), group("H", { "$/x.mov" }) })
            << QList<Place> { { 0, 0 } } << Place { 1 } << -1 << "G[B[]] H[A[] $/x.mov]"
            << QStringList { "R/G/A>R/H/A" };
        QTest::newRow("a group with one of its own movies moves once")
            << group("R", { group("G", { group("A", { "$/x.mov" }) }), group("H", {}) })
            << QList<Place> { { 0, 0, 0 }, { 0, 0 } } << Place { 1 } << 0 << "G[] H[A[$/x.mov]]"
            << QStringList { "R/G/A>R/H/A" };
        QTest::newRow("a movie to the top level")
            << group("R", { group("G", { "$/x.mov" }) }) << QList<Place> { { 0, 0 } } << Place {} << 1 << "G[] $/x.mov"
            << QStringList { "R/G$/x.mov>R$/x.mov" };
    }

    // The cover of the dragged nodes lands in tree order at the place the
    // drop named; every node of the cover reports its old and new full
    // path; the selection and the open groups stay; the tree is saved.
    void movingNodes()
    {
        QFETCH(QVariantMap, tree);
        QFETCH(QList<Place>, dragged);
        QFETCH(Place, into);
        QFETCH(int, row);
        QFETCH(QString, after);
        QFETCH(QStringList, paths);
        Project project(tree, { "$/x.mov" });
        const std::unique_ptr<QMimeData> data = project.dragOf(dragged);
        const QList<TreeNode *> selected = project.source.selectedNodes();
        QSignalSpy moves(&project.source, &MP3DataSource::pathChanged);

        QVERIFY(project.source.canDropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)));
        QVERIFY(project.source.dropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)));

        QCOMPARE(project.shown(), after);
        QStringList reported;
        for (const QList<QVariant> &move : moves)
            reported << QString(move.at(0).toString() + '>' + move.at(1).toString()).replace(project.folder(), "$");
        QCOMPARE(reported, paths);
        QCOMPARE(project.source.selectedNodes(), selected);
        for (const TreeNode *node : selected)
            QVERIFY(SimpleTreeNode::isLeafNode(node) || project.view.isExpanded(project.source.indexForNode(node)));
        QCOMPARE(project.saved(), after);
        QVERIFY(project.imageInvalidated());
    }

    void nodesDraggedOutAreTextCopies()
    {
        QVariantList four;
        for (const QString &name : kFourGroups)
            four << group(name, {});
        Project project(group("R", four));
        const std::unique_ptr<QMimeData> data = project.dragOf({ { 2 }, { 0 } });
        QCOMPARE(data->text(), QString("(\n    {A},\n    {C}\n)"));
        QCOMPARE(project.source.supportedDragActions(), Qt::CopyAction);
        // Text alone adds nothing and leaves the tree file and the image be.
        QMimeData text;
        text.setText(data->text());
        QVERIFY(project.source.dropMimeData(&text, Qt::CopyAction, 0, 0, QModelIndex()));
        QCOMPARE(project.shown(), QString("A[] B[] C[] D[]"));
        QVERIFY(!project.imageInvalidated());
    }

    void refusedMoves_data()
    {
        QTest::addColumn<Place>("dragged");
        QTest::addColumn<Place>("into");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("accepted");

        // R: G[A[Sub[]] $/x.mov] H[A[]] A[]
        QTest::newRow("a group onto itself") << Place { 0, 0 } << Place { 0, 0 } << -1 << false;
        QTest::newRow("a group onto its own subgroup") << Place { 0, 0 } << Place { 0, 0, 0 } << -1 << false;
        QTest::newRow("a group between the rows of its subgroup") << Place { 0, 0 } << Place { 0, 0, 0 } << 0 << false;
        QTest::newRow("onto a movie") << Place { 1, 0 } << Place { 0, 1 } << -1 << false;
        QTest::newRow("into a group holding its name") << Place { 0, 0 } << Place { 1 } << 0 << false;
        QTest::newRow("to the top level holding its name") << Place { 0, 0 } << Place {} << 0 << false;
        QTest::newRow("within its own group") << Place { 0, 0 } << Place { 0 } << 2 << true;
        QTest::newRow("between the rows of another group") << Place { 0, 1 } << Place { 1 } << 1 << true;
        QTest::newRow("onto another group") << Place { 0, 1 } << Place { 1 } << -1 << true;
    }

    // A refused move changes nothing, even when dropped regardless.
    void refusedMoves()
    {
        QFETCH(Place, dragged);
        QFETCH(Place, into);
        QFETCH(int, row);
        QFETCH(bool, accepted);
        Project project(group("R",
                            { group("G", { group("A", { group("Sub", {}) }), "$/x.mov" }),
                                group("H", { group("A", {}) }), group("A", {}) }),
            { "$/x.mov" });
        const QString before = project.shown();
        const std::unique_ptr<QMimeData> data = project.dragOf({ dragged });

        QCOMPARE(project.source.canDropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)), accepted);
        QCOMPARE(project.source.dropMimeData(data.get(), Qt::CopyAction, row, 0, project.at(into)), accepted);
        QCOMPARE(project.shown() == before, !accepted);
        QCOMPARE(project.imageInvalidated(), accepted);
    }

    void dropEventsOnTheView_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("after");
        QTest::newRow("below the last row") << "below"
                                            << "G[$/x.mov] $/y.mov $/a.mov";
        QTest::newRow("on a group's row") << "group"
                                          << "G[$/a.mov $/x.mov] $/y.mov";
        QTest::newRow("on a movie's row") << "movie"
                                          << "G[$/x.mov $/a.mov] $/y.mov";
    }

    // Files dragged from a file manager onto the view itself.
    void dropEventsOnTheView()
    {
        QFETCH(QString, where);
        QFETCH(QString, after);
        Project project(group("R", { group("G", { "$/x.mov" }), "$/y.mov" }), { "$/x.mov", "$/y.mov", "$/a.mov" });
        const QRect groupRow = project.view.visualRect(project.at({ 0 }));
        const QRect movieRow = project.view.visualRect(project.at({ 0, 0 }));
        const QPoint position = where == "below" ? QPoint(20, project.view.viewport()->height() - 5)
            : where == "group"                   ? groupRow.center()
                                                 : QPoint(movieRow.center().x(), movieRow.bottom() - 2);
        const std::unique_ptr<QMimeData> data = project.files({ "$/a.mov" });

        QDragEnterEvent enter(position, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(project.view.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(position, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(project.view.viewport(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(project.view.viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(project.shown(), after);
    }

    // The add command of the window's Media menu: a movie and a folder
    // chosen together go to the end of the top level, the folder searched.
    void addCommandAddsTheChoices()
    {
        QTemporaryDir files;
        QTemporaryDir project;
        makeFile("$/a.mov", files.path());
        makeFile("$/F/b.mp4", files.path());
        const QString treeFile = project.filePath(QString::fromLatin1(MediaTree::kTreeFileName));
        QVERIFY(TreeFile::write(treeFile, SimpleTreeNode::treeFromDictionary(group("R", { group("G", {}) })).get()));
        KestrinApp app;
        app.settings->setProjectFolder(project.path());
        app.mediaTree->loadFromFile(treeFile);
        app.window->show();
        MediaDrop *drop = app.controller->dataSource()->mediaDrop();
        QSignalSpy finished(drop, &MediaDrop::searchesFinished);

        app.window->mAddMediaAction->trigger();
        AddMediaPanel *panel = drop->addPanel();
        QVERIFY(panel && panel->isVisible());
        panel->setDirectory(files.path());
        panel->selectFile(QStringLiteral("\"a.mov\" \"F\""));
        panel->accept();

        QTRY_COMPARE(finished.count(), 1);
        const QString after = QStringLiteral("G[] $/a.mov $/F[$/F/b.mp4]");
        QCOMPARE(dump(app.mediaTree->treeData(), files.path()), after);
        QCOMPARE(dump(TreeFile::read(treeFile).tree.get(), files.path()), after);
    }
};

QTEST_MAIN(TestMediaDrop)
#include "tst_mediadrop.moc"
