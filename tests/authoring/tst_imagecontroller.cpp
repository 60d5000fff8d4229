#include "authoring/ui/ImageController.h"
#include "authoring/ui/ImageProgressSheet.h"
#include "common/Fixtures.h"
#include "common/TestProject.h"

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {

const QString kRoot = QStringLiteral("Movies");
const QString kA = QStringLiteral("/films/A.mov");
const QString kB = QStringLiteral("/films/B.mov");

} // namespace

// Drives the Build Image command on a real window offscreen, as a person
// would, with real vcdxbuild runs.
class TestImageController : public QObject
{
    Q_OBJECT

    QWidget *mWindow = nullptr;

    ImageReport waitForEnd(ImageController &controller)
    {
        QSignalSpy finished(&controller, &ImageController::imageFinished);
        if (!finished.wait(60000))
            qFatal("the image build did not end");
        return finished.first().first().value<ImageReport>();
    }

    QMessageBox *messageSheet(ImageController &controller, const char *name)
    {
        QMessageBox *sheet = controller.messageSheet();
        return sheet && sheet->isVisible() && sheet->objectName() == QLatin1String(name) ? sheet : nullptr;
    }

private slots:
    void initTestCase() { QVERIFY(!Fixtures::ntscVcdMpg().isEmpty()); }

    void init()
    {
        mWindow = new QWidget;
        mWindow->show();
    }

    void cleanup() { delete mWindow; }

    void unconvertedMoviesShowTheCantImageSheet()
    {
        TestProject project(TestProject::group(kRoot, { kA, kB }));
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        ImageController controller(mWindow, &project.tree(), &project.settings());
        controller.startImage();
        QVERIFY(messageSheet(controller, "mCantImageSheet"));
        QVERIFY(!controller.isImaging());
        QVERIFY(!controller.imageProgressSheet());
        // Nothing was thrown away.
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
    }

    void noMoviesShowTheNoMoviesSheet()
    {
        TestProject project(TestProject::group(kRoot, {}));
        ImageController controller(mWindow, &project.tree(), &project.settings());
        controller.startImage();
        QVERIFY(messageSheet(controller, "mNoMoviesImageSheet"));
        QVERIFY(!controller.isImaging());
    }

    void buildImageShowsProgressAndBurnsOnlyInTheChain_data()
    {
        QTest::addColumn<bool>("chain");
        QTest::newRow("Build Image") << false;
        QTest::newRow("convert, image and burn") << true;
    }

    void buildImageShowsProgressAndBurnsOnlyInTheChain()
    {
        QFETCH(bool, chain);
        TestProject project(TestProject::group(kRoot, { kA }));
        project.setFormatVCD(true);
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        ImageController controller(mWindow, &project.tree(), &project.settings());
        QSignalSpy burn(&controller, &ImageController::burnRequested);
        chain ? controller.startImageInChain() : controller.startImage();

        ImageProgressSheet *sheet = controller.imageProgressSheet();
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->mImagePathnameField->text(), project.file(QStringLiteral("Kestrin_xx.img")));
        QVERIFY(waitForEnd(controller).succeeded());
        QVERIFY(QTest::qWaitFor([&] { return !controller.imageProgressSheet(); }));
        QVERIFY(!controller.messageSheet());
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
        QTest::qWait(50);
        QCOMPARE(burn.size(), chain ? 1 : 0);
    }

    void stopInTheChainStartsNoBurn()
    {
        TestProject project(TestProject::group(kRoot, { kA, kA, kA, kA }));
        project.setFormatVCD(true);
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        for (const char *copy : { "a2.mpg", "a3.mpg", "a4.mpg" })
            QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QString::fromLatin1(copy)));
        ImageController controller(mWindow, &project.tree(), &project.settings());
        QSignalSpy burn(&controller, &ImageController::burnRequested);
        controller.startImageInChain();
        QVERIFY(controller.imageProgressSheet());
        // Escape on the sheet is Stop.
        QTest::keyClick(controller.imageProgressSheet(), Qt::Key_Escape);
        QCOMPARE(waitForEnd(controller).outcome, ImageReport::Outcome::Stopped);
        QTest::qWait(50);
        QCOMPARE(burn.size(), 0);
        QVERIFY(!controller.messageSheet());
        QVERIFY(QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
    }

    // A stray MPEG file lets the build start; vcdxbuild then misses B.mpg.
    void failedBuildShowsWhatVcdxbuildSaid()
    {
        TestProject project(TestProject::group(kRoot, { kA, kB }));
        project.setFormatVCD(true);
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("stray.mpg")));
        ImageController controller(mWindow, &project.tree(), &project.settings());
        QSignalSpy burn(&controller, &ImageController::burnRequested);
        controller.startImageInChain();
        QCOMPARE(waitForEnd(controller).outcome, ImageReport::Outcome::Failed);
        QMessageBox *sheet = messageSheet(controller, "mImageFailedSheet");
        QVERIFY(sheet);
        QVERIFY2(sheet->informativeText().contains(project.file(QStringLiteral("B.mpg"))),
            qPrintable(sheet->informativeText()));
        QTest::qWait(50);
        QCOMPARE(burn.size(), 0);
        QVERIFY(QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
    }
};

QTEST_MAIN(TestImageController)
#include "tst_imagecontroller.moc"
