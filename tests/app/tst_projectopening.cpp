#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "app/SelectProjectPanel.h"
#include "media/MediaTree.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Drives the real main window and its panels offscreen, as a person would.
class TestProjectOpening : public QObject
{
    Q_OBJECT

    QTemporaryDir *mRoot = nullptr;
    std::unique_ptr<KestrinApp> mApp;
    SettingsModel *mSettings = nullptr;
    Preferences *mPreferences = nullptr;
    MainWindow *mWindow = nullptr;
    MyController *mController = nullptr;

    QString path(const QString &name) const { return mRoot->filePath(name); }

    SelectProjectPanel *waitForSelectPanel()
    {
        QTest::qWaitFor(
            [this] { return mController->selectProjectPanel() && mController->selectProjectPanel()->isVisible(); },
            2000);
        SelectProjectPanel *panel = mController->selectProjectPanel();
        if (!panel || !panel->isVisible())
            qFatal("the select-project panel did not come back");
        return panel;
    }

    void chooseInPanel(QFileDialog *panel, const QString &chosen)
    {
        QVERIFY(panel && panel->isVisible());
        panel->selectFile(chosen);
        // Accepted as the dialog's own button would, without its habit of
        // entering an existing folder.
        static_cast<QDialog *>(panel)->done(QDialog::Accepted);
    }

    void newProject(const QString &folder)
    {
        QTest::mouseClick(waitForSelectPanel()->mNewButton, Qt::LeftButton);
        chooseInPanel(mController->savePanel(), folder);
    }

    void openProject(const QString &folder)
    {
        QTest::mouseClick(waitForSelectPanel()->mOpenButton, Qt::LeftButton);
        chooseInPanel(mController->openPanel(), folder);
    }

    QMessageBox *replaceAlert() { return mWindow->findChild<QMessageBox *>(QStringLiteral("mReplaceAlert")); }

private slots:
    void init()
    {
        QFile::remove(UserDefaults::filePath());
        mRoot = new QTemporaryDir;
        mApp = std::make_unique<KestrinApp>();
        mSettings = mApp->settings.get();
        mPreferences = mApp->preferences.get();
        mWindow = mApp->window.get();
        mController = mApp->controller.get();
        mController->applicationDidFinishLaunching();
    }

    void cleanup()
    {
        mApp.reset();
        delete mRoot;
    }

    void quitAtLaunchWritesNothing()
    {
        QSignalSpy quit(mController, &MyController::quitRequested);
        QTest::mouseClick(waitForSelectPanel()->mQuitButton, Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
        QVERIFY(QDir(mRoot->path()).isEmpty());
    }

    void openIsRefusedUntilAProjectFolderIsChosen()
    {
        QDir().mkpath(path(QStringLiteral("plain")));
        openProject(path(QStringLiteral("plain")));
        waitForSelectPanel();
        QTest::mouseClick(mController->selectProjectPanel()->mOpenButton, Qt::LeftButton);
        mController->openPanel()->reject();
        waitForSelectPanel();
        QVERIFY(mSettings->projectFolder().isEmpty());
        QVERIFY(QDir(path(QStringLiteral("plain"))).isEmpty());
    }

    void newOverAnExistingFolderAsksThenReplacesIt()
    {
        const QString folder = path(QStringLiteral("Disc"));
        QDir().mkpath(folder + QStringLiteral("/old"));
        QFile old(folder + QStringLiteral("/old/movie.mpg"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        // A link inside pointing out of the folder must not be followed.
        const QString outside = path(QStringLiteral("outside"));
        QDir().mkpath(outside);
        QFile keep(outside + QStringLiteral("/keep.txt"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.close();
        QVERIFY(QFile::link(outside, folder + QStringLiteral("/link")));

        newProject(folder);
        QTRY_VERIFY(replaceAlert() && replaceAlert()->isVisible());
        QVERIFY(replaceAlert()->informativeText().contains(folder));
        QTest::mouseClick(replaceAlert()->button(QMessageBox::Yes), Qt::LeftButton);

        QTRY_COMPARE(mSettings->projectFolder(), folder);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({ QStringLiteral("Kestrin.settings"), QStringLiteral("Kestrin.tree") }));
        QVERIFY(QFile::exists(outside + QStringLiteral("/keep.txt")));
        QVERIFY(mController->holdsLock());
        QCOMPARE(mWindow->mCurrentProjectField->text(), folder);
    }

    void newOverAnExistingFolderCanBeCancelled()
    {
        const QString folder = path(QStringLiteral("Disc"));
        QDir().mkpath(folder);
        QFile mine(folder + QStringLiteral("/mine.txt"));
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.close();
        newProject(folder);
        QTRY_VERIFY(replaceAlert() && replaceAlert()->isVisible());
        QTest::mouseClick(replaceAlert()->button(QMessageBox::Cancel), Qt::LeftButton);
        waitForSelectPanel();
        QVERIFY(QFile::exists(folder + QStringLiteral("/mine.txt")));
        QVERIFY(mSettings->projectFolder().isEmpty());
    }

    void newNeverReplacesTheHomeFolder()
    {
        newProject(QDir::homePath());
        QTRY_VERIFY(replaceAlert() && replaceAlert()->isVisible());
        QVERIFY(!replaceAlert()->button(QMessageBox::Yes));
        replaceAlert()->button(QMessageBox::Ok)->click();
        waitForSelectPanel();
        QVERIFY(QDir::home().exists());
    }

    void leavingAProjectSavesItOnce()
    {
        const QString folder = path(QStringLiteral("First"));
        newProject(folder);
        QTRY_COMPARE(mSettings->projectFolder(), folder);
        const QString tree = folder + QStringLiteral("/Kestrin.tree");
        const QString settings = folder + QStringLiteral("/Kestrin.settings");

        QVERIFY(QFile::remove(tree) && QFile::remove(settings));
        mWindow->mNewAction->trigger(); // leaves the project: both written
        QVERIFY(QFile::exists(tree) && QFile::exists(settings));
        QVERIFY(QFile::remove(tree) && QFile::remove(settings));

        mController->savePanel()->reject();
        QSignalSpy quit(mController, &MyController::quitRequested);
        QTest::mouseClick(waitForSelectPanel()->mQuitButton, Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
        QVERIFY(QFile::exists(tree));      // the tree once more
        QVERIFY(!QFile::exists(settings)); // but no settings: the record was dropped
        QVERIFY(!mController->holdsLock());
    }

    void openingAProjectLoadsItsSettingsAndReleasesNoLockFile()
    {
        const QString folder = path(QStringLiteral("Existing"));
        QDir().mkpath(folder);
        QVERIFY(PropertyList::writeXmlFile(folder + QStringLiteral("/Kestrin.tree"),
            QVariantMap { { QStringLiteral("Group"), QStringLiteral("Existing") },
                { QStringLiteral("Entries"), QVariantList() } }));
        QVariantMap settings = Preferences::defaultRecord();
        settings.insert(QStringLiteral("Title"), QStringLiteral("HOLIDAY"));
        QVERIFY(PropertyList::writeXmlFile(folder + QStringLiteral("/Kestrin.settings"), settings));

        openProject(folder);
        QTRY_COMPARE(mSettings->projectFolder(), folder);
        QCOMPARE(mSettings->title(), QStringLiteral("HOLIDAY"));
        QVERIFY(!QFile::exists(folder + QStringLiteral("/Kestrin.lock")));
        QVERIFY(mController->holdsLock());
    }

    void newProjectTakesThePreferencesButKeepsSomeControls()
    {
        mPreferences->prefsVCDStored = 1;
        mPreferences->prefsSVCDStored = 0;
        mPreferences->prefsVCDTitleStored = QStringLiteral("MY_DISC");
        mSettings->setValue(QStringLiteral("Interlaced"), qlonglong(1));
        mSettings->setValue(QStringLiteral("GenericMPEG"), qlonglong(1));
        mSettings->setValue(QStringLiteral("Framesize"), qlonglong(1));
        mSettings->setValue(QStringLiteral("FramesizeW"), qlonglong(320));

        const QString folder = path(QStringLiteral("Fresh"));
        newProject(folder);
        QTRY_COMPARE(mSettings->projectFolder(), folder);
        const QVariantMap file = PropertyList::readFile(folder + QStringLiteral("/Kestrin.settings")).value.toMap();
        QCOMPARE(file.value(QStringLiteral("FormatVCD")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("BitRate")).toLongLong(), 1152);
        QCOMPARE(file.value(QStringLiteral("Title")).toString(), QStringLiteral("MY_DISC"));
        QCOMPARE(file.value(QStringLiteral("Interlaced")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("GenericMPEG")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("FramesizeW")).toLongLong(), 320);
    }

    void closingTheWindowSavesLikeQuit()
    {
        const QString folder = path(QStringLiteral("Closing"));
        newProject(folder);
        QTRY_COMPARE(mSettings->projectFolder(), folder);
        mSettings->setValue(QStringLiteral("Author"), QStringLiteral("Someone"));
        QSignalSpy quit(mController, &MyController::quitRequested);
        mWindow->close();
        QCOMPARE(quit.count(), 1);
        const QVariantMap file = PropertyList::readFile(folder + QStringLiteral("/Kestrin.settings")).value.toMap();
        QCOMPARE(file.value(QStringLiteral("Author")).toString(), QStringLiteral("Someone"));
    }
};

QTEST_MAIN(TestProjectOpening)
#include "tst_projectopening.moc"
