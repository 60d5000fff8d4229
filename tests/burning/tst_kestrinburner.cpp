#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "burning/BurnJob.h"
#include "burning/ui/BurnProgressSheet.h"
#include "burning/ui/KestrinBurner.h"
#include "common/VcdInfo.h"
#include "common/VcdxbuildImage.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DiscJob.h"
#include "platform/LibburnDevice.h"
#include "platform/ui/DRBurnProgressPanel.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/SettingsModel.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The Burn command in the window, with a real disc image: the can't-burn
// sheet, the setup sheet, a burn through the layer's progress sheet to the
// disc image recorder, and a real cdrdao failing on a recorder that is not
// there.
class TestKestrinBurner : public QObject
{
    Q_OBJECT

    std::unique_ptr<KestrinApp> mApp;
    QTemporaryDir mImageFolder;

    KestrinBurner *burner() const { return mApp->burner.get(); }
    void openProject(const QString &folder) { mApp->settings->setProjectFolder(folder); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void burnCommandNeedsADiscImage();
    void cancelledSetupBurnsNothing();
    void burnCommandWritesTheImageFileThroughTheLayer();
    void cdrdaoFailureSheetShowsCdrdaosLastLine();
    void stopShowsCancellingThenTheFailureSheet();
};

void TestKestrinBurner::initTestCase()
{
    QVERIFY(!VcdxbuildImage::build(mImageFolder.path(), 2).isEmpty());
}

void TestKestrinBurner::init()
{
    mApp = std::make_unique<KestrinApp>();
    mApp->window->show();
    openProject(mImageFolder.path());
}

void TestKestrinBurner::cleanup()
{
    mApp.reset();
}

void TestKestrinBurner::burnCommandNeedsADiscImage()
{
    QTemporaryDir empty;
    QFile toc(empty.filePath(QStringLiteral("Kestrin.toc")));
    QVERIFY(toc.open(QIODevice::WriteOnly));
    toc.close();
    openProject(empty.path());

    mApp->window->mBurnAction->trigger();
    QVERIFY(burner()->cantBurnSheet());
    QVERIFY(burner()->cantBurnSheet()->isVisible());
    QVERIFY(!burner()->setupPanel());
    burner()->cantburnPanelOK();
    QTRY_VERIFY(!burner()->cantBurnSheet());
}

void TestKestrinBurner::cancelledSetupBurnsNothing()
{
    QSignalSpy finished(burner(), &KestrinBurner::burnFinished);
    mApp->window->mBurnAction->trigger();
    QVERIFY(!burner()->cantBurnSheet());
    QVERIFY(burner()->setupPanel());
    QVERIFY(burner()->setupPanel()->isVisible());
    burner()->setupPanel()->reject();
    QVERIFY(!burner()->setupPanel());
    QVERIFY(!burner()->isBurning());
    QVERIFY(!burner()->burnProgressSheet());
    QVERIFY(!burner()->burnProgressPanel());
    QCOMPARE(finished.size(), 0);
}

void TestKestrinBurner::burnCommandWritesTheImageFileThroughTheLayer()
{
    QTemporaryDir output;
    const QString cue = output.filePath(QStringLiteral("disc.cue"));
    QSignalSpy finished(burner(), &KestrinBurner::burnFinished);

    mApp->window->mBurnAction->trigger();
    DRBurnSetupPanel *setup = burner()->setupPanel();
    QVERIFY(setup);
    QVERIFY(setup->selectedDevice()->writesImageFile());
    setup->setImageFile(cue);
    setup->accept();

    QVERIFY(burner()->isBurning());
    QVERIFY(burner()->burnJob()->layout().has_value());
    DRBurnProgressPanel *panel = burner()->burnProgressPanel();
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(panel->isFinished(), 60000);
    QVERIFY2(panel->job()->result().succeeded(), qPrintable(panel->job()->result().message));
    // The layer's sheet tells how it ended until the user closes it.
    QVERIFY(burner()->isBurning());
    panel->reject();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!burner()->isBurning());
    QVERIFY(!burner()->burnFailedSheet());

    QVERIFY(QFileInfo::exists(output.filePath(QStringLiteral("disc.bin"))));
    const VcdInfo burned = VcdInfo::readCueImage(cue);
    QVERIFY2(burned.read, qPrintable(burned.output));
}

void TestKestrinBurner::cdrdaoFailureSheetShowsCdrdaosLastLine()
{
    const QString noRecorder = QStringLiteral("/dev/kestrin-no-such-recorder");
    auto recorder = std::make_shared<LibburnDevice>(noRecorder, QStringLiteral("NOBODY"), QStringLiteral("CD-RW"));
    QSignalSpy finished(burner(), &KestrinBurner::burnFinished);

    burner()->burnTheCD(std::make_shared<DRBurn>(recorder));
    BurnProgressSheet *sheet = burner()->burnProgressSheet();
    QVERIFY(sheet);
    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->mDeviceNameField->text(), QStringLiteral("NOBODY CD-RW"));
    QCOMPARE(sheet->mBurnStepField->text(), QStringLiteral("Preparing to burn."));
    // Indeterminate until cdrdao says how much it writes.
    QCOMPARE(sheet->mBurnProgressIndicator->maximum(), 0);
    QVERIFY(!burner()->burnJob()->layout().has_value());

    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
    QVERIFY(!burner()->burnProgressSheet() || !burner()->burnProgressSheet()->isVisible());
    QVERIFY(burner()->burnFailedSheet());
    QVERIFY(burner()->burnFailedSheet()->isVisible());
    QCOMPARE(burner()->burnFailedReason(), QStringLiteral("ERROR: Cannot setup device %1.").arg(noRecorder));
    burner()->burnFailedOK();
    QTRY_VERIFY(!burner()->burnFailedSheet());
    QVERIFY(!burner()->isBurning());
}

void TestKestrinBurner::stopShowsCancellingThenTheFailureSheet()
{
    auto recorder = std::make_shared<LibburnDevice>(
        QStringLiteral("/dev/kestrin-no-such-recorder"), QStringLiteral("NOBODY"), QStringLiteral("CD-RW"));
    QSignalSpy finished(burner(), &KestrinBurner::burnFinished);

    burner()->burnTheCD(std::make_shared<DRBurn>(recorder));
    BurnProgressSheet *sheet = burner()->burnProgressSheet();
    QVERIFY(sheet);
    sheet->mStopButton->click();
    QCOMPARE(sheet->mBurnStepField->text(), QStringLiteral("Cancelling burn."));
    QCOMPARE(sheet->mBurnProgressIndicator->maximum(), 0);
    QVERIFY(!sheet->mStopButton->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
    QVERIFY(!finished.first().at(0).value<DiscJobResult>().succeeded());
    QVERIFY(burner()->burnFailedSheet());
    QVERIFY(!burner()->burnFailedReason().isEmpty());
}

QTEST_MAIN(TestKestrinBurner)
#include "tst_kestrinburner.moc"
