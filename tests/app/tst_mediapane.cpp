#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MoviePreview.h"
#include "app/MyController.h"
#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "media/TreeFile.h"
#include "media/ui/FreeSpaceBar.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "settings/SettingsModel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

// The media tree in the real main window: its commands and the figures
// under it.
class TestMediaPane : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mProject;
    std::unique_ptr<KestrinApp> mApp;
    MainWindow *mWindow = nullptr;
    MyController *mController = nullptr;
    MediaTree *mTree = nullptr;
    QString mMovie;

    MP3OutlineView *view() const { return mWindow->mMediaTreeView; }
    MP3DataSource *source() const { return mController->dataSource(); }

    void clickRow(int row)
    {
        const QRect rect = view()->visualRect(source()->index(row, 0));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
    }

private slots:
    // A project holding a movie of 90 s, an empty group and a missing movie.
    void init()
    {
        mProject = std::make_unique<QTemporaryDir>();
        mMovie = QDir(mProject->path()).filePath("trip.mov");
        QVERIFY(QFile::copy(Fixtures::tinyClip("90"), mMovie));
        const QVariantMap tree { { "Group", "R" },
            { "Entries",
                QVariantList {
                    mMovie, QVariantMap { { "Group", "G" }, { "Entries", QVariantList() } }, "/gone/lost.mov" } } };
        const QString treeFile = QDir(mProject->path()).filePath(MediaTree::kTreeFileName);
        QVERIFY(TreeFile::write(treeFile, SimpleTreeNode::treeFromDictionary(tree).get()));

        mApp = std::make_unique<KestrinApp>();
        mApp->settings->setProjectFolder(mProject->path());
        mWindow = mApp->window.get();
        mController = mApp->controller.get();
        mTree = mApp->mediaTree.get();
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow));
        mTree->loadFromFile(treeFile);
    }

    void cleanup()
    {
        mApp.reset();
        mProject.reset();
    }

    void theFiguresUnderTheTree()
    {
        QCOMPARE(mWindow->mFreespaceProgressIndicator->minutesUsed(), 1.5);
        QCOMPARE(mWindow->mFreespaceProgressIndicator->maximumMinutes(), MediaTree::kSVCDMinutes);
        QCOMPARE(mWindow->mFreespaceProgressIndicator->text(), QString("1.5 of 40 minutes"));
        QCOMPARE(mWindow->mMissingItems->text(), QString("1 missing"));
        QCOMPARE(mWindow->mMissingItems->palette().color(QPalette::WindowText), QColor(Qt::red));

        mApp->settings->setValue("FormatVCD", 1);
        QCOMPARE(mWindow->mFreespaceProgressIndicator->maximumMinutes(), MediaTree::kVCDMinutes);

        clickRow(2);
        mWindow->mDeleteAction->trigger();
        QCOMPARE(mWindow->mMissingItems->text(), QString("0 missing"));
        QCOMPARE(mWindow->mMissingItems->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }

    void deleteWaitsForASelection()
    {
        QVERIFY(!mWindow->mDeleteAction->isEnabled());
        clickRow(1);
        QVERIFY(mWindow->mDeleteAction->isEnabled());
        mWindow->mDeleteAction->trigger();
        QCOMPARE(source()->rowCount(), 2);
        QVERIFY(!mWindow->mDeleteAction->isEnabled());
    }

    void newGroupAndSortFromTheWindow()
    {
        mWindow->mAddGroupAction->trigger();
        QCOMPARE(SimpleTreeNode::nameOf(mTree->treeData()->firstChild()), QString("New Folder"));
        view()->closePersistentEditor(source()->index(0, 0));
        mWindow->mSortAction->trigger();
        QCOMPARE(SimpleTreeNode::nameOf(mTree->treeData()->childAtIndex(2)), QString("G"));
        QCOMPARE(SimpleTreeNode::nameOf(mTree->treeData()->childAtIndex(3)), QString("New Folder"));
    }

    void aClickedMovieShowsStoppedInThePreview()
    {
        clickRow(0);
        QCOMPARE(mController->preview()->loadedFile(), mMovie);
        QVERIFY(!mController->preview()->isPlaying());
        QVERIFY(!mController->preview()->timerFlag());
    }
};

QTEST_MAIN(TestMediaPane)
#include "tst_mediapane.moc"
