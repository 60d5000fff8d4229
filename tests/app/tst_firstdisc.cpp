#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "app/SelectProjectPanel.h"
#include "authoring/ui/MenuPanel.h"
#include "burning/ui/KestrinBurner.h"
#include "common/Fixtures.h"
#include "common/VcdInfo.h"
#include "conversion/ui/BuildMPEG.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "media/ui/MediaDrop.h"
#include "platform/DRDevice.h"
#include "platform/DiscJob.h"
#include "platform/UserDefaults.h"
#include "platform/ui/DRBurnProgressPanel.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/SettingsModel.h"
#include "settings/ui/SettingChanges.h"
#include "settings/ui/SettingsPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// A first disc made the way a new user makes it, through the real window:
// a new project, a folder of movies dropped on the tree, a menu, SVCD PAL,
// then Convert, Build Image and Burn as one command to a disc image file.
class TestFirstDisc : public QObject
{
    Q_OBJECT

    QTemporaryDir mRoot;
    std::unique_ptr<KestrinApp> mApp;

    QString path(const QString &name) const { return mRoot.filePath(name); }
    QString project() const { return path(QStringLiteral("My First Disc")); }
    MainWindow *window() const { return mApp->window.get(); }

    // Three kinds of movie a person may have lying about.
    QString makeMovieFolder()
    {
        const QString folder = path(QStringLiteral("Holiday"));
        QDir().mkpath(folder);
        const QList<QPair<QString, QString>> movies { { Fixtures::h264AacMp4(), QStringLiteral("beach.mp4") },
            { Fixtures::mpeg1Mp2Mpg(), QStringLiteral("harbour.mpg") },
            { Fixtures::noSoundMp4(), QStringLiteral("quiet.mp4") } };
        for (const auto &[source, name] : movies)
            if (source.isEmpty() || !QFile::copy(source, QDir(folder).filePath(name)))
                return {};
        return folder;
    }

    void createProject()
    {
        mApp->controller->applicationDidFinishLaunching();
        QTRY_VERIFY(mApp->controller->selectProjectPanel() && mApp->controller->selectProjectPanel()->isVisible());
        QTest::mouseClick(mApp->controller->selectProjectPanel()->mNewButton, Qt::LeftButton);
        QFileDialog *panel = mApp->controller->savePanel();
        QVERIFY(panel && panel->isVisible());
        panel->selectFile(project());
        static_cast<QDialog *>(panel)->done(QDialog::Accepted);
        QTRY_COMPARE(mApp->settings->projectFolder(), project());
    }

    void dropOnTheTree(const QString &folder)
    {
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(folder) });
        MP3DataSource *source = mApp->controller->dataSource();
        QVERIFY(source->canDropMimeData(&data, Qt::CopyAction, 0, 0, {}));
        QVERIFY(source->dropMimeData(&data, Qt::CopyAction, 0, 0, {}));
        QTRY_VERIFY(!source->mediaDrop()->isSearching());
    }

    void selectRow(int row, const QModelIndex &parent = {})
    {
        QTreeView *view = window()->mMediaTreeView;
        view->selectionModel()->select(
            view->model()->index(row, 0, parent), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // The Holiday group behind key 1 of a menu over the first movie.
    void designMenu()
    {
        QTabWidget *tabs = window()->mMenuTabView;
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        const QModelIndex group = window()->mMediaTreeView->model()->index(0, 0);
        window()->mMediaTreeView->expand(group);
        selectRow(0, group);
        QTest::mouseClick(window()->mMenuPanel->KestrinMenuButton, Qt::LeftButton);
        QVERIFY2(window()->mMenuPanel->KestrinMenuButton->isChecked(),
            qPrintable(window()->mMenuPanel->mMenuMessage->text()));
        selectRow(0);
        QCheckBox *key = window()->mMenuPanel->mRC1Button;
        clickBox(key);
        QVERIFY2(key->isChecked(), qPrintable(window()->mMenuPanel->mMenuMessage->text()));
    }

    // The first change of format asks whether the converted movies may go;
    // once they are stale, the TV system changes without a question.
    void switchToSvcdPal()
    {
        SettingsPanel *panel = window()->mSettingsPanel;
        clickBox(panel->mSVCDFormatRadio);
        QMessageBox *sheet = mApp->controller->settingChanges()->changeMPEGSheet();
        QVERIFY(sheet && sheet->isVisible());
        QTest::mouseClick(sheet->button(QMessageBox::Ok), Qt::LeftButton);
        clickBox(panel->mPALFormatRadio);
        QVERIFY(!mApp->controller->settingChanges()->changeMPEGSheet()
            || !mApp->controller->settingChanges()->changeMPEGSheet()->isVisible());
        QVERIFY(mApp->settings->formatSVCD() && mApp->settings->formatPAL());
    }

    // Where a person clicks a check box or radio button: on its box.
    static void clickBox(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void convertImageAndBurnTo(const QString &cue)
    {
        window()->mConvertImageBurnAction->trigger();
        DRBurnSetupPanel *setup = mApp->buildMPEG->burnSetupPanel();
        QVERIFY(setup);
        QTRY_VERIFY(!setup->isScanning());
        QVERIFY(setup->selectedDevice()->writesImageFile());
        setup->setImageFile(cue);
        setup->accept();
        QTRY_VERIFY_WITH_TIMEOUT(mApp->burner->burnProgressPanel(), 180000);
        DRBurnProgressPanel *progress = mApp->burner->burnProgressPanel();
        QTRY_VERIFY_WITH_TIMEOUT(progress->isFinished(), 60000);
        QVERIFY2(progress->job()->result().succeeded(), qPrintable(progress->job()->result().message));
        progress->reject();
    }

    static void checkSvcdPalStream(const QString &mpg, const QString &sound)
    {
        QVERIFY2(QFile::exists(mpg), qPrintable(mpg));
        QCOMPARE(Fixtures::probe(mpg, QStringLiteral("format=format_name")), QStringLiteral("mpeg"));
        QCOMPARE(Fixtures::probe(mpg, QStringLiteral("stream=codec_name"), QStringLiteral("v:0")),
            QStringLiteral("mpeg2video"));
        QCOMPARE(Fixtures::probe(mpg, QStringLiteral("stream=width,height"), QStringLiteral("v:0")),
            QStringLiteral("480\n576"));
        QCOMPARE(
            Fixtures::probe(mpg, QStringLiteral("stream=r_frame_rate"), QStringLiteral("v:0")), QStringLiteral("25/1"));
        QCOMPARE(Fixtures::probe(mpg, QStringLiteral("stream=codec_name,sample_rate"), QStringLiteral("a")), sound);
    }

private slots:
    void init()
    {
        QFile::remove(UserDefaults::filePath());
        mApp = std::make_unique<KestrinApp>();
        window()->show();
    }

    void cleanup() { mApp.reset(); }

    void holidayMoviesOnASuperVideoCd()
    {
        const QString movies = makeMovieFolder();
        QVERIFY(!movies.isEmpty());
        createProject();
        if (QTest::currentTestFailed())
            return;
        dropOnTheTree(movies);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(mApp->controller->dataSource()->rowCount(window()->mMediaTreeView->model()->index(0, 0)), 3);
        designMenu();
        if (QTest::currentTestFailed())
            return;
        switchToSvcdPal();
        if (QTest::currentTestFailed())
            return;

        const QString cue = path(QStringLiteral("disc.cue"));
        convertImageAndBurnTo(cue);
        if (QTest::currentTestFailed())
            return;

        const VcdInfo disc = VcdInfo::readCueImage(cue);
        QVERIFY2(disc.read, qPrintable(disc.output));
        QCOMPARE(disc.id, QStringLiteral("SUPERVCD"));
        // The menu times out into the group's three movies; key 1 starts them too.
        QCOMPARE(disc.selectionLists, 1);
        QCOMPARE(disc.playLists, 6);
        QVERIFY2(disc.descriptors.contains(QStringLiteral("ofs[0]: LID[5] @0x0012")), qPrintable(disc.output));
        const QString mp2 = QStringLiteral("mp2\n44100");
        for (const auto &[base, sound] : { std::pair { "beach", mp2 }, { "harbour", mp2 }, { "quiet", QString() } })
            checkSvcdPalStream(QDir(project()).filePath(QLatin1String(base) + QStringLiteral(".mpg")), sound);
    }
};

QTEST_MAIN(TestFirstDisc)
#include "tst_firstdisc.moc"
