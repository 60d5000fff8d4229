#include "common/NumberedSectorProducer.h"

#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRErase.h"
#include "platform/DRVersion.h"
#include "platform/EraseSession.h"
#include "platform/LibburnDevice.h"

#include <QDir>
#include <QTest>

class TestRecorders : public QObject {
    Q_OBJECT

private slots:
    void withoutPhysicalRecordersOnlyTheDiscImageRecorderIsListed()
    {
        // These machines have no CD recorder: the libburn scan finds none,
        // quietly, and the virtual recorder stands alone.
        QVERIFY(QDir(QStringLiteral("/dev")).entryList({ QStringLiteral("sr*") }, QDir::System).isEmpty());
        const QList<std::shared_ptr<DRDevice>> devices = DRDevice::devices();
        QCOMPARE(devices.size(), 1);
        QCOMPARE(devices.first(), DRDevice::discImageFileDevice());
        QCOMPARE(DRDevice::devices().first(), devices.first()); // the same object each time
    }

    void theDiscImageRecorderHoldsAnEmptyEightyMinuteDisc()
    {
        const std::shared_ptr<DRDevice> device = DRDevice::discImageFileDevice();
        QCOMPARE(device->displayName(), QStringLiteral("Disc Image File"));
        QVERIFY(device->canWriteRawMode2());
        QVERIFY(device->writesImageFile());
        QVERIFY(!device->info().contains(DRDeviceIORegistryEntryPathKey));
        const DRMSF free = device->mediaSpaceFree();
        QCOMPARE(free.minutes(), 80u);
        QCOMPARE(free.seconds(), 0u);
        QCOMPARE(free.frames(), 0u);
        QCOMPARE(device->mediaInfo().value(DRDeviceMediaBlocksFreeKey).toULongLong(), 80ull * 60 * 75 - 150);
        device->ejectMedia(); // nothing to eject, nothing happens
    }

    void theDiscImageRecorderHasNothingToErase()
    {
        EraseSession session(std::make_shared<DRErase>(DRDevice::discImageFileDevice()));
        const DiscJobResult result = session.run();
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(QStringLiteral("nothing to erase")), qPrintable(result.message));
    }

    void aLibburnRecorderRefusesRawMode2TracksBeforePreparingThem()
    {
        // libburn's pseudo-drive on a file stands in for a physical recorder,
        // which these machines lack; the refusal comes before the drive is
        // even opened.
        const QString image = QDir::temp().filePath(QStringLiteral("kestrin-never-written.iso"));
        auto device = std::make_shared<LibburnDevice>(
            QStringLiteral("stdio:") + image, QStringLiteral("Test"), QStringLiteral("Pseudo Drive"));
        QVERIFY(!device->canWriteRawMode2());
        QCOMPARE(device->info().value(DRDeviceIORegistryEntryPathKey).toString(), QStringLiteral("stdio:") + image);

        auto producer = std::make_shared<NumberedSectorProducer>();
        BurnSession session(
            std::make_shared<DRBurn>(device), NumberedSectorProducer::rawLayout(producer, { { 1, 150, 10 } }));
        const DiscJobResult result = session.run();
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(QStringLiteral("cannot write Video CD tracks")), qPrintable(result.message));
        QVERIFY(producer->calls().filter(QStringLiteral("prepare")).isEmpty());
        QVERIFY(!QFile::exists(image));
    }

    void theVersionIsAboveTheOneVideoCDBurnsNeed() { QVERIFY(DRGetVersion() > 0x02100000u); }
};

QTEST_GUILESS_MAIN(TestRecorders)
#include "tst_recorders.moc"
