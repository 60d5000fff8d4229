#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MoviePreview.h"
#include "app/MyController.h"
#include "app/MyTableView.h"
#include "app/PreviewList.h"
#include "app/PreviewPane.h"
#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "platform/MountPoints.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QFile>
#include <QLabel>
#include <QMediaPlayer>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class TestPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<KestrinApp> mApp;
    SettingsModel *mSettings = nullptr;
    Preferences *mPreferences = nullptr;
    MainWindow *mWindow = nullptr;
    MyController *mController = nullptr;
    QTemporaryDir *mProject = nullptr;

    MoviePreview *preview() const { return mController->preview(); }
    MyTableView *table() const { return mWindow->mPreviewPane->songTable; }

    void drop(const QStringList &paths, int row)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QVERIFY(mController->songs()->canDropMimeData(&data, Qt::CopyAction, row, 0, {}));
        QVERIFY(mController->songs()->dropMimeData(&data, Qt::CopyAction, row, 0, {}));
    }

private slots:
    void init()
    {
        mProject = new QTemporaryDir;
        mApp = std::make_unique<KestrinApp>();
        mSettings = mApp->settings.get();
        mPreferences = mApp->preferences.get();
        mWindow = mApp->window.get();
        mController = mApp->controller.get();
        mSettings->setProjectFolder(mProject->path());
        mWindow->show();
    }

    void cleanup()
    {
        mApp.reset();
        delete mProject;
    }

    void startsWithTheResourceMovie()
    {
        QVERIFY(preview()->loadedFile().endsWith(QStringLiteral("/VideoFile.mov")));
        QVERIFY(!preview()->timerFlag());
    }

    void percentage_data()
    {
        QTest::addColumn<qint64>("current");
        QTest::addColumn<qint64>("duration");
        QTest::addColumn<int>("percent"); // -1: none shown
        QTest::newRow("650 at 300") << qint64(300) << qint64(650) << 50;
        QTest::newRow("at the start") << qint64(0) << qint64(1200) << 0;
        QTest::newRow("at the end") << qint64(1200) << qint64(1200) << 100;
        QTest::newRow("shorter than 100 units") << qint64(50) << qint64(99) << -1;
        QTest::newRow("exactly 100 units") << qint64(50) << qint64(100) << 50;
    }

    void percentage()
    {
        QFETCH(qint64, current);
        QFETCH(qint64, duration);
        QFETCH(int, percent);
        const std::optional<int> shown = MoviePreview::percentOf(current, duration);
        QCOMPARE(shown.value_or(-1), percent);
    }

    void convertedFileIsPreferredWhateverItsCase()
    {
        const QString source = Fixtures::h264AacMp4();
        QVERIFY(QFile::copy(Fixtures::mpeg1Mp2Mpg(), mProject->filePath(QStringLiteral("h264_aac.MPG"))));
        preview()->playThisSong(source);
        QCOMPARE(preview()->loadedFile(), mProject->filePath(QStringLiteral("h264_aac.MPG")));
        QCOMPARE(preview()->selectedItemPath(), source);
        QCOMPARE(preview()->selectedItem(), QStringLiteral("h264_aac.mp4"));
        QVERIFY(preview()->timerFlag());

        const QString other = Fixtures::noSoundMp4();
        preview()->playThisSong(other);
        QCOMPARE(preview()->loadedFile(), other);
    }

    void missingMovieLeavesThePreviewAlone()
    {
        const QString before = preview()->loadedFile();
        preview()->playThisSong(QStringLiteral("/nowhere/gone.mov"));
        QCOMPARE(preview()->loadedFile(), before);
        QVERIFY(!preview()->timerFlag());
    }

    void volumeCarriesOverUnlessMuted()
    {
        preview()->setVolume(0.3f);
        preview()->playThisSong(Fixtures::h264AacMp4());
        QCOMPARE(preview()->volume(), 0.3f);
        preview()->setVolume(0.0f);
        preview()->playThisSong(Fixtures::h264AacMov());
        QCOMPARE(preview()->volume(), 1.0f);
    }

    void percentageIsShownOnlyWhenItChanges()
    {
        QSignalSpy shown(preview(), &MoviePreview::percentShown);
        preview()->playThisSong(Fixtures::h264AacMp4());
        QTRY_VERIFY_WITH_TIMEOUT(preview()->player()->position() > 300, 10000);
        preview()->HandleTimer();
        preview()->HandleTimer();
        preview()->stopPlaying();
        QVERIFY(shown.count() >= 2);
        for (int i = 2; i < shown.count(); ++i)
            QVERIFY(shown.at(i).first().toInt() != shown.at(i - 1).first().toInt());
        QCOMPARE(mWindow->mPreviewPane->mDuration->text(), QStringLiteral("%1 %").arg(preview()->lastPercent()));
        QVERIFY(preview()->lastPercent() > 0);
    }

    void repeatStartsTheMovieAgain()
    {
        preview()->setRepeat(true);
        preview()->playThisSong(Fixtures::h264AacMp4());
        QTRY_COMPARE_WITH_TIMEOUT(preview()->player()->mediaStatus(), QMediaPlayer::EndOfMedia, 15000);
        preview()->HandleTimer();
        QTRY_VERIFY_WITH_TIMEOUT(preview()->isPlaying(), 5000);
        QVERIFY(preview()->player()->position() < 1500);
    }

    void dropsLandBetweenRowsWithTheLastSelected()
    {
        drop({ "/m/a.mov", "/m/b.mov", "/m/c.mov" }, -1);
        QCOMPARE(mController->songs()->getSongs(), QStringList({ "/m/a.mov", "/m/b.mov", "/m/c.mov" }));
        QCOMPARE(table()->songSelected(), QStringLiteral("/m/c.mov"));
        drop({ "/m/x.mov", "/m/a.mov" }, 1);
        QCOMPARE(mController->songs()->getSongs(),
            QStringList({ "/m/a.mov", "/m/x.mov", "/m/a.mov", "/m/b.mov", "/m/c.mov" }));
        QCOMPARE(table()->songSelected(), QStringLiteral("/m/a.mov"));
        QCOMPARE(table()->currentIndex().row(), 2);
        QCOMPARE(mController->songs()->data(mController->songs()->index(1), Qt::DisplayRole).toString(),
            QStringLiteral("x"));
    }

    void clickShowsDoubleClickPlays()
    {
        drop({ Fixtures::h264AacMp4() }, -1);
        table()->playSong();
        QVERIFY(table()->isRunning());
        QVERIFY(preview()->isPlaying());
        table()->selectSong();
        QVERIFY(!table()->isRunning());
        QVERIFY(!preview()->isPlaying());
        QCOMPARE(preview()->loadedFile(), Fixtures::h264AacMp4());
    }

    void ejectWithAnEmptyListShowsTheResourceMovie()
    {
        preview()->playThisSong(Fixtures::h264AacMp4());
        mController->ejectCD();
        QVERIFY(preview()->loadedFile().endsWith(QStringLiteral("/VideoFile.mov")));
        QVERIFY(!preview()->timerFlag());
        QCOMPARE(mWindow->mPreviewPane->mDuration->text(), QStringLiteral("0 %"));
    }

    void ejectEmptiesTheList()
    {
        drop({ mProject->filePath(QStringLiteral("clip.mov")) }, -1);
        mController->ejectCD();
        QVERIFY(mController->songs()->getSongs().isEmpty());
    }

    void mountPointHoldingAFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("mountPoint");
        QTest::newRow("disc under /media") << "/media/ada/HOLIDAY/clip.mov" << "/media/ada/HOLIDAY";
        QTest::newRow("disc under /run/media") << "/run/media/ada/DISC 1/a/clip.mov" << "/run/media/ada/DISC 1";
        QTest::newRow("home folder") << "/home/ada/clip.mov" << "/home";
        QTest::newRow("prefix is no parent") << "/media/ada/HOLIDAY2/clip.mov" << "/";
        QTest::newRow("root file system") << "/srv/clip.mov" << "/";
    }

    void mountPointHoldingAFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, mountPoint);
        const QByteArray table = "/dev/vda1 / ext4 rw 0 0\n"
                                 "/dev/vda2 /home ext4 rw 0 0\n"
                                 "/dev/sr0 /media/ada/HOLIDAY iso9660 ro 0 0\n"
                                 "/dev/sr1 /run/media/ada/DISC\\0401 udf ro 0 0\n"
                                 "proc /proc proc rw 0 0\n";
        QCOMPARE(MountPoints::mountPointFor(path, table), mountPoint);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
