#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "authoring/KestrinMenu.h"
#include "authoring/ui/ImageController.h"
#include "authoring/ui/MenuPanel.h"
#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The menu tab in the whole window: the menus follow the project and the tab
// chosen, and Build Image puts them on the disc.
class TestMenuWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mFolder;
    std::unique_ptr<KestrinApp> mApp;

    QString file(const QString &name) const { return mFolder->filePath(name); }
    QPushButton *menuButton() const { return mApp->window->mMenuPanel->KestrinMenuButton; }

    // A converted movie A under the root R, with settings choosing `menuTab`.
    void makeProject(qlonglong menuTab)
    {
        QVERIFY(PropertyList::writeXmlFile(
            file("Kestrin.tree"), QVariantMap { { "Group", "R" }, { "Entries", QVariantList { "/films/A.mov" } } }));
        QVERIFY(QFile::copy(Fixtures::ntscVcdMpg(), file("A.mpg")));
        mApp->preferences->setProjectDefaults();
        mApp->preferences->setRecordValue("MenuTab", menuTab);
        mApp->preferences->projectSettingsSave(mFolder->path());
    }

    void writeMenu()
    {
        QVERIFY(PropertyList::writeXmlFile(
            file("Kestrin.menu"), QVariantList { QVariantMap { { "Title", "/films/A.mov" }, { "1", "R" } } }));
    }

    void openProject()
    {
        mApp->settings->setProjectFolder(mFolder->path());
        mApp->mediaTree->loadFromFile(file("Kestrin.tree"));
        mApp->preferences->projectSettingsLoad(mFolder->path());
    }

private slots:
    void initTestCase() { QVERIFY(!Fixtures::ntscVcdMpg().isEmpty()); }

    void init()
    {
        QFile::remove(UserDefaults::filePath());
        mFolder = std::make_unique<QTemporaryDir>();
        mApp = std::make_unique<KestrinApp>();
        mApp->window->show();
    }

    void cleanup() { mApp.reset(); }

    // Rows of the real tree view: the movie A, then the group Trips.
    void selectRow(int row)
    {
        QTreeView *view = mApp->window->mMediaTreeView;
        view->selectionModel()->select(
            view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QVariantMap storedMenu() const
    {
        return PropertyList::readFile(file("Kestrin.menu")).value.toList().value(0).toMap();
    }

    void keysFollowTheTreeViewsSelectionAndItsEdits()
    {
        QVERIFY(PropertyList::writeXmlFile(file("Kestrin.tree"),
            QVariantMap { { "Group", "R" },
                { "Entries",
                    QVariantList {
                        "/films/A.mov", QVariantMap { { "Group", "Trips" }, { "Entries", QVariantList {} } } } } }));
        openProject();
        MenuPanel *panel = mApp->window->mMenuPanel;
        selectRow(0);
        QTest::mouseClick(menuButton(), Qt::LeftButton);
        QCOMPARE(storedMenu().value("Title").toString(), QStringLiteral("/films/A.mov"));
        selectRow(1);
        QTest::mouseClick(panel->mRC5Button, Qt::LeftButton, {}, QPoint(6, panel->mRC5Button->height() / 2));
        QCOMPARE(storedMenu().value("5").toString(), QStringLiteral("R/Trips"));

        MP3DataSource *source = mApp->controller->dataSource();
        QVERIFY(source->setData(source->index(1, MP3DataSource::NameColumn), QStringLiteral("Holidays")));
        QCOMPARE(storedMenu().value("5").toString(), QStringLiteral("R/Holidays"));
        QCOMPARE(panel->mRC5Button->toolTip(), QStringLiteral("Holidays"));

        selectRow(1);
        source->deleteSelections();
        QVERIFY(!storedMenu().contains("5"));
        QVERIFY(!panel->mRC5Button->isChecked());
        QCOMPARE(storedMenu().value("Title").toString(), QStringLiteral("/films/A.mov"));
    }

    void choosingTheMenuTabShowsTheProjectsMenu()
    {
        makeProject(0);
        openProject();
        QVERIFY(!menuButton()->isChecked());
        // Written behind the window's back: the tab's choice reads it anew.
        writeMenu();
        QTabWidget *tabs = mApp->window->mMenuTabView;
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(menuButton()->isChecked());
        QCOMPARE(menuButton()->text(), QStringLiteral("A.mov"));
    }

    void buildImageInTheWindowPutsTheMenuOnTheDisc()
    {
        makeProject(1);
        writeMenu();
        openProject();
        QCOMPARE(mApp->window->mMenuTabView->currentIndex(), 1);
        QVERIFY(menuButton()->isChecked());

        QSignalSpy finished(mApp->image.get(), &ImageController::imageFinished);
        mApp->window->mBuildImageAction->trigger();
        QVERIFY(finished.wait(60000));
        QVERIFY(finished.first().first().value<ImageReport>().succeeded());
        QFile description(file("Kestrin.xml"));
        QVERIFY(description.open(QIODevice::ReadOnly));
        const QByteArray text = description.readAll();
        QVERIFY2(text.contains("\t\t<selection id=\"selection_0\">\n\t\t<bsn>1</bsn>\n"), text.constData());
        QVERIFY(text.contains("\t\t<play-item ref=\"media_0\"/>\n\t\t<select ref=\"playlist_0_0\"/>\n"));
    }
};

QTEST_MAIN(TestMenuWindow)
#include "tst_menuwindow.moc"
