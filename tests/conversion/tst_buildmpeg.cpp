#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "authoring/ui/ImageController.h"
#include "burning/ui/KestrinBurner.h"
#include "common/Fixtures.h"
#include "common/VcdInfo.h"
#include "conversion/ui/BuildMPEG.h"
#include "conversion/ui/ConversionFailureSheet.h"
#include "conversion/ui/ConversionProgressSheet.h"
#include "media/MediaTree.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DiscJob.h"
#include "platform/PropertyList.h"
#include "platform/ui/DRBurnProgressPanel.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

constexpr int kConversionTimeoutMs = 120000;

} // namespace

// Drives the Convert command and its sheets offscreen, as a person would.
class TestBuildMPEG : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mProject;
    std::unique_ptr<QTemporaryDir> mMovies;
    std::unique_ptr<QWidget> mWindow;
    std::unique_ptr<SettingsModel> mSettings;
    std::unique_ptr<MediaTree> mTree;
    std::unique_ptr<BuildMPEG> mBuild;

    QString projectFile(const QString &name) const { return mProject->filePath(name); }
    bool markerPresent() const { return QFile::exists(projectFile(QStringLiteral("Kestrin.invalidmpegs"))); }

    void setMedia(const QStringList &movies) { setMedia(mTree.get(), movies); }

    void setMedia(MediaTree *tree, const QStringList &movies)
    {
        const QString treePath = projectFile(QStringLiteral("Kestrin.tree"));
        QVariantList entries;
        for (const QString &movie : movies)
            entries << movie;
        QVERIFY(PropertyList::writeXmlFile(treePath,
            QVariantMap {
                { QStringLiteral("Group"), QStringLiteral("Disc") }, { QStringLiteral("Entries"), entries } }));
        QVERIFY(tree->loadFromFile(treePath));
    }

    QString textFileNamed(const QString &name)
    {
        const QString path = mMovies->filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("just some words\n");
        return path;
    }

    void markStale()
    {
        Preferences preferences(mSettings.get());
        preferences.deleteMPEGs();
    }

    void waitForTheEnd() { QTRY_VERIFY_WITH_TIMEOUT(!mBuild->isConverting(), kConversionTimeoutMs); }

private slots:
    void init()
    {
        mProject = std::make_unique<QTemporaryDir>();
        mMovies = std::make_unique<QTemporaryDir>();
        mWindow = std::make_unique<QWidget>();
        mWindow->resize(800, 600);
        mWindow->show();
        mSettings = std::make_unique<SettingsModel>();
        mSettings->setProjectFolder(mProject->path());
        mSettings->setValue(QStringLiteral("FormatVCD"), 1);
        mSettings->setValue(QStringLiteral("FormatNTSC"), 1);
        mSettings->setValue(QStringLiteral("BitRate"), 1152);
        mSettings->setValue(QStringLiteral("Quality"), 100.0);
        mTree = std::make_unique<MediaTree>(mSettings.get());
        mBuild = std::make_unique<BuildMPEG>(mWindow.get(), mSettings.get(), mTree.get());
    }

    void cleanup()
    {
        mBuild.reset();
        mWindow.reset();
    }

    void convertsBehindTheProgressSheet()
    {
        setMedia({ Fixtures::noSoundMp4() });
        markStale();
        QSignalSpy previewStops(mBuild.get(), &BuildMPEG::stopPlaying);
        QSignalSpy chain(mBuild.get(), &BuildMPEG::startImage1);
        mBuild->startBuild();
        QPointer<ConversionProgressSheet> sheet = mBuild->progressSheet();
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QCOMPARE(previewStops.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(sheet && sheet->mConvertVideoProgress->value() > 0, kConversionTimeoutMs);
        QCOMPARE(sheet->mCurrentMovieVideoField->text(), QStringLiteral("nosound.mp4"));
        waitForTheEnd();
        QTRY_VERIFY(!sheet);
        QVERIFY(QFileInfo(projectFile(QStringLiteral("nosound.mpg"))).size() > 0);
        QVERIFY(!markerPresent());
        QVERIFY(!mBuild->failureSheet());
        // A plain Convert does not go on to the image.
        QVERIFY(chain.isEmpty());
    }

    void nothingToConvert()
    {
        setMedia({ textFileNamed(QStringLiteral("clip.mov")) });
        QFile mpg(projectFile(QStringLiteral("clip.mpg")));
        QVERIFY(mpg.open(QIODevice::WriteOnly));
        mpg.write("converted");
        mpg.close();
        QSignalSpy chain(mBuild.get(), &BuildMPEG::startImage1);

        mBuild->startBuild();
        QVERIFY(mBuild->messageSheet());
        QVERIFY(mBuild->messageSheet()->isVisible());
        QVERIFY(!mBuild->isConverting());
        mBuild->messageSheet()->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!mBuild->messageSheet());
        QVERIFY(chain.isEmpty());

        // In the chain, imaging follows at once.
        mBuild->startBuild1(false);
        QVERIFY(!mBuild->messageSheet());
        QCOMPARE(chain.size(), 1);
        QCOMPARE(chain.first().first().toBool(), false);
    }

    void stopEndsTheSheetAndKeepsTheMarker()
    {
        setMedia({ Fixtures::h264AacMov() });
        markStale();
        mBuild->startBuild();
        QVERIFY(mBuild->progressSheet());
        mBuild->progressSheet()->mStopButton->click();
        QVERIFY(!mBuild->progressSheet()->mStopButton->isEnabled());
        waitForTheEnd();
        QVERIFY(!QFile::exists(projectFile(QStringLiteral("h264_aac.mpg"))));
        QVERIFY(markerPresent());
        QVERIFY(!mBuild->failureSheet());
    }

    void failuresAreShownWithTheirReasons()
    {
        const QString notAMovie = textFileNamed(QStringLiteral("notes.mov"));
        setMedia({ notAMovie });
        markStale();
        QSignalSpy chain(mBuild.get(), &BuildMPEG::startImage1);
        mBuild->startBuild1(false);
        waitForTheEnd();
        QTRY_VERIFY(mBuild->failureSheet() && mBuild->failureSheet()->isVisible());
        QVERIFY(mBuild->failureSheet()->mMessageField->text().contains(QStringLiteral("notes.mov")));
        QVERIFY(mBuild->failureSheet()->mDetailsView->toPlainText().contains(QStringLiteral("notes.mov: ")));
        QVERIFY(markerPresent());
        // A failed conversion does not go on to the image.
        QVERIFY(chain.isEmpty());
    }

    void convertIsInTheDiscMenu()
    {
        KestrinApp app;
        app.settings->setProjectFolder(mProject->path());
        QVERIFY(app.window->mDiscMenu->actions().contains(app.window->mConvertAction));
        app.window->mConvertAction->trigger();
        // The default tree holds no movies.
        QVERIFY(app.buildMPEG->messageSheet());
        QCOMPARE(app.buildMPEG->messageSheet()->parentWidget(), app.window.get());
    }

    void cancelInTheBurnSetupStartsNothing()
    {
        setMedia({ Fixtures::noSoundMp4() });
        QSignalSpy chain(mBuild.get(), &BuildMPEG::startImage1);
        mBuild->startConvertImageBurn();
        QVERIFY(mBuild->burnSetupPanel());
        QVERIFY(mBuild->burnSetupPanel()->isVisible());
        mBuild->burnSetupPanel()->reject();
        QTRY_VERIFY(!mBuild->burnSetupPanel());
        QVERIFY(!mBuild->isConverting());
        QVERIFY(!mBuild->burnObject());
        QVERIFY(chain.isEmpty());
        QVERIFY(!QFile::exists(projectFile(QStringLiteral("nosound.mpg"))));
    }

    // The chain in the window: the recorder is chosen first, then the movie
    // is converted, the image built and burned to it without a question.
    void convertImageBurnInTheWindow()
    {
        KestrinApp app;
        app.settings->setProjectFolder(mProject->path());
        app.settings->setValue(QStringLiteral("FormatVCD"), 1);
        app.settings->setValue(QStringLiteral("FormatSVCD"), 0);
        app.settings->setValue(QStringLiteral("BitRate"), 1152);
        app.settings->setValue(QStringLiteral("Quality"), 100.0);
        app.settings->setValue(QStringLiteral("Title"), QStringLiteral("CHAIN"));
        setMedia(app.mediaTree.get(), { Fixtures::h264AacMov() });
        app.window->show();
        QSignalSpy burned(app.burner.get(), &KestrinBurner::burnFinished);

        app.window->mConvertImageBurnAction->trigger();
        DRBurnSetupPanel *setup = app.buildMPEG->burnSetupPanel();
        QVERIFY(setup);
        QVERIFY(setup->selectedDevice()->writesImageFile());
        const QString cue = mMovies->filePath(QStringLiteral("disc.cue"));
        setup->setImageFile(cue);
        setup->accept();
        QVERIFY(app.buildMPEG->isConverting());
        QVERIFY(app.buildMPEG->burnObject());

        QTRY_VERIFY_WITH_TIMEOUT(app.burner->burnProgressPanel(), kConversionTimeoutMs);
        DRBurnProgressPanel *panel = app.burner->burnProgressPanel();
        QTRY_VERIFY_WITH_TIMEOUT(panel->isFinished(), kConversionTimeoutMs);
        QVERIFY2(panel->job()->result().succeeded(), qPrintable(panel->job()->result().message));
        panel->reject();
        QCOMPARE(burned.size(), 1);
        const VcdInfo disc = VcdInfo::readCueImage(cue);
        QVERIFY2(disc.read, qPrintable(disc.output));
        QCOMPARE(disc.id, QStringLiteral("VIDEO_CD"));
        QCOMPARE(disc.albumId, QStringLiteral("CHAIN"));
        QCOMPARE(disc.playLists, 1);
        QVERIFY(!markerPresent());
    }

    // Movies with one base are named before anything is converted; Cancel
    // converts nothing.
    void sharedNamesAreWarnedAbout()
    {
        const QString first = textFileNamed(QStringLiteral("one/clip.mov"));
        const QString second = textFileNamed(QStringLiteral("two/clip.avi"));
        setMedia({ first, second });
        mBuild->startBuild();
        QMessageBox *warning = mBuild->messageSheet();
        QVERIFY(warning && warning->isVisible());
        QVERIFY(warning->informativeText().contains(first));
        QVERIFY(warning->informativeText().contains(second));
        QVERIFY(warning->informativeText().contains(QStringLiteral("clip.mpg")));
        warning->button(QMessageBox::Cancel)->click();
        QTRY_VERIFY(!mBuild->messageSheet());
        QVERIFY(!mBuild->isConverting());
        QVERIFY(!mBuild->progressSheet());
    }
};

QTEST_MAIN(TestBuildMPEG)
#include "tst_buildmpeg.moc"
