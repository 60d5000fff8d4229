#include "burning/BurnEngine.h"
#include "burning/BurnJob.h"
#include "burning/BurnTarget.h"
#include "burning/CdrdaoDevice.h"
#include "common/VcdInfo.h"
#include "common/VcdxbuildImage.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/LibburnDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(BurnEngine)

// The burn of a project's disc image: whether there is one, which engine
// writes it where, and the burn itself through the disc image recorder and
// through a real cdrdao.
class TestBurnJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void projectHasDiscImage_data();
    void projectHasDiscImage();
    void engineChoice_data();
    void engineChoice();
    void deviceString_data();
    void deviceString();
    void burnTarget_data();
    void burnTarget();
    void burnsToImageFileThroughTheLayer_data();
    void burnsToImageFileThroughTheLayer();
    void imageFileRecorderNeedsALayout();
    void cdrdaoReportsItsOwnLastLine();

private:
    static bool writeFile(const QString &path, const QByteArray &bytes = {});

    QTemporaryDir mImageFolder;
    QString mTocPath;
};

// A recorder path that is a device node, where no recorder is.
static const QString kNoRecorder = QStringLiteral("/dev/kestrin-no-such-recorder");

bool TestBurnJob::writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void TestBurnJob::initTestCase()
{
    mTocPath = VcdxbuildImage::build(mImageFolder.path(), 2);
    QVERIFY(!mTocPath.isEmpty());
    QCOMPARE(QFileInfo(mTocPath).fileName(), QString::fromLatin1(BurnJob::kTocFileName));
}

void TestBurnJob::projectHasDiscImage_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("ready");

    QTest::newRow("image in the folder") << QStringList { "Kestrin.toc", "Kestrin_01.img" } << true;
    QTest::newRow("only image in a sub-folder") << QStringList { "old/Kestrin_01.img" } << true;
    QTest::newRow("TOC without image") << QStringList { "Kestrin.toc", "Kestrin.xml" } << false;
    QTest::newRow("extension in capitals") << QStringList { "Kestrin.toc", "Kestrin_01.IMG" } << false;
    QTest::newRow("img only inside the name") << QStringList { "Kestrin.img.txt", "img" } << false;
    QTest::newRow("empty folder") << QStringList {} << false;
}

void TestBurnJob::projectHasDiscImage()
{
    QFETCH(QStringList, files);
    QFETCH(bool, ready);

    QTemporaryDir project;
    for (const QString &file : files)
        QVERIFY(writeFile(project.filePath(file)));
    QCOMPARE(BurnJob::projectHasDiscImage(project.path()), ready);
}

void TestBurnJob::engineChoice_data()
{
    QTest::addColumn<bool>("hasLayout");
    QTest::addColumn<bool>("cdrdaoPreferred");
    QTest::addColumn<bool>("writesImageFile");
    QTest::addColumn<bool>("canWriteRawMode2");
    QTest::addColumn<BurnEngine>("engine");

    QTest::newRow("layout, layer preferred, raw Mode 2 recorder")
        << true << false << false << true << BurnEngine::DiscRecording;
    QTest::newRow("cdrdao preferred") << true << true << false << true << BurnEngine::Cdrdao;
    QTest::newRow("no layout") << false << false << false << true << BurnEngine::Cdrdao;
    QTest::newRow("recorder without raw Mode 2") << true << false << false << false << BurnEngine::Cdrdao;
    QTest::newRow("image file, cdrdao preferred") << true << true << true << true << BurnEngine::DiscRecording;
    QTest::newRow("image file without layout") << false << false << true << true << BurnEngine::None;
}

void TestBurnJob::engineChoice()
{
    QFETCH(bool, hasLayout);
    QFETCH(bool, cdrdaoPreferred);
    QFETCH(bool, writesImageFile);
    QFETCH(bool, canWriteRawMode2);
    QFETCH(BurnEngine, engine);

    QCOMPARE(BurnEngineChoice::choose(hasLayout, cdrdaoPreferred, writesImageFile, canWriteRawMode2), engine);
}

void TestBurnJob::deviceString_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("recorders");
    QTest::addColumn<QString>("device");

    const QString first = QStringLiteral("IOService:/PCI0@0/SATA@1F/PRT2@2/IOSCSIPeripheralDeviceNub");
    const QString second = QStringLiteral("IOService:/PCI0@0/USB@1D/Disk@3/IOSCSIPeripheralDeviceNub");
    const QString other = QStringLiteral("IOService:/PCI0@0/FW@1C/IOFireWireSBP2LUN");
    QTest::newRow("device node") << "/dev/sr1" << QStringList { "/dev/sr0", "/dev/sr1" } << "/dev/sr1";
    QTest::newRow("first of two of a name")
        << first << QStringList { first, other, second } << "IOSCSIPeripheralDeviceNub/1";
    QTest::newRow("second of two of a name")
        << second << QStringList { first, other, second } << "IOSCSIPeripheralDeviceNub/2";
    QTest::newRow("last component without IO")
        << "IOService:/PCI0@0/SATA@1F/Disk@0" << QStringList { "IOService:/PCI0@0/SATA@1F/Disk@0" }
        << "SATA@1F/Disk@0/1";
    QTest::newRow("not among the recorders") << other << QStringList { first } << "IOFireWireSBP2LUN";
}

void TestBurnJob::deviceString()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, recorders);
    QFETCH(QString, device);

    QCOMPARE(CdrdaoDevice::deviceString(chosen, recorders), device);
}

void TestBurnJob::burnTarget_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("writesImageFile");
    QTest::addColumn<QString>("path"); // the image file or the device node

    QTest::newRow("image file") << "image:/tmp/disc.bin" << true << true << "/tmp/disc.bin";
    QTest::newRow("relative image file") << "image:disc.bin" << true << true << QDir::current().filePath("disc.bin");
    QTest::newRow("device node not found by the scan") << kNoRecorder << true << false << kNoRecorder;
    QTest::newRow("image without a file") << "image:" << false << false << QString();
    QTest::newRow("neither") << "sr0" << false << false << QString();
}

void TestBurnJob::burnTarget()
{
    QFETCH(QString, argument);
    QFETCH(bool, valid);
    QFETCH(bool, writesImageFile);
    QFETCH(QString, path);

    QString error;
    const std::shared_ptr<DRBurn> burn = BurnTarget::burnFor(argument, &error);
    QCOMPARE(bool(burn), valid);
    QCOMPARE(error.isEmpty(), valid);
    if (!burn)
        return;
    QCOMPARE(burn->device()->writesImageFile(), writesImageFile);
    if (writesImageFile)
        QCOMPARE(burn->imageFile(), path);
    else
        QCOMPARE(CdrdaoDevice::registryPath(*burn->device()), path);
}

void TestBurnJob::burnsToImageFileThroughTheLayer_data()
{
    QTest::addColumn<bool>("cdrdaoPreferred");

    QTest::newRow("layer preferred") << false;
    QTest::newRow("cdrdao preferred") << true;
}

void TestBurnJob::burnsToImageFileThroughTheLayer()
{
    QFETCH(bool, cdrdaoPreferred);

    QTemporaryDir output;
    auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burn->setImageFile(output.filePath(QStringLiteral("disc.bin")));
    BurnJob job(mImageFolder.path(), burn, cdrdaoPreferred);
    QCOMPARE(job.engine(), BurnEngine::DiscRecording);
    QVERIFY(job.layout().has_value());
    QCOMPARE(job.layout()->size(), 3);

    QSignalSpy progress(&job, &BurnJob::progressChanged);
    const DiscJobResult result = job.run();
    QVERIFY2(result.succeeded(), qPrintable(result.message));
    QVERIFY(!job.layout().has_value());
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).value<BurnProgress>().percent, 100);
    // The layer's burn setup: no verification, session at once.
    QCOMPARE(burn->properties().value(DRBurnStrategyKey).toString(), DRBurnStrategyCDSAO);
    QCOMPARE(burn->properties().value(DRBurnVerifyDiscKey).toBool(), false);

    // The burned disc is the disc of the image.
    const VcdInfo burned = VcdInfo::readCueImage(output.filePath(QStringLiteral("disc.cue")));
    QVERIFY2(burned.read, qPrintable(burned.output));
    QCOMPARE(burned.output, VcdInfo::readImage(mTocPath).output);
}

void TestBurnJob::imageFileRecorderNeedsALayout()
{
    QTemporaryDir project;
    QVERIFY(writeFile(project.filePath(QStringLiteral("Kestrin_01.img")), QByteArray(2352, '\0')));
    QVERIFY(writeFile(project.filePath(QStringLiteral("Kestrin.toc")), "CD_ROM_XA\nTRACK AUDIO\n"));
    auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burn->setImageFile(project.filePath(QStringLiteral("disc.bin")));

    BurnJob job(project.path(), burn, false);
    QCOMPARE(job.engine(), BurnEngine::None);
    const DiscJobResult result = job.run();
    QVERIFY(!result.succeeded());
    QVERIFY2(result.message.contains(QLatin1String("TRACK AUDIO")), qPrintable(result.message));
    QVERIFY(!QFileInfo::exists(project.filePath(QStringLiteral("disc.bin"))));
}

void TestBurnJob::cdrdaoReportsItsOwnLastLine()
{
    auto recorder = std::make_shared<LibburnDevice>(kNoRecorder, QStringLiteral("NOBODY"), QStringLiteral("CD-RW"));
    BurnJob job(mImageFolder.path(), std::make_shared<DRBurn>(recorder), false);
    QCOMPARE(job.engine(), BurnEngine::Cdrdao);
    QVERIFY(!job.layout().has_value());
    QCOMPARE(job.deviceString(), kNoRecorder);

    QSignalSpy progress(&job, &BurnJob::progressChanged);
    const DiscJobResult result = job.run();
    QVERIFY(!result.succeeded());
    QCOMPARE(result.message, QStringLiteral("ERROR: Cannot setup device %1.").arg(kNoRecorder));
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().at(0).value<BurnProgress>().step, QStringLiteral("Preparing to burn."));
}

QTEST_GUILESS_MAIN(TestBurnJob)
#include "tst_burnjob.moc"
