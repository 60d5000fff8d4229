#include "common/NumberedSectorProducer.h"

#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DiscImageWriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Shape = NumberedSectorProducer::TrackShape;
using Shapes = QList<Shape>;
Q_DECLARE_METATYPE(Shapes)

namespace {
std::shared_ptr<DRBurn> imageBurn(const QString& path)
{
    auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burn->setImageFile(path);
    return burn;
}

// The BIN a disc image of these tracks must hold: every pregap and data
// block in order, except the first 150 blocks of track 1's pregap.
QByteArray expectedBin(const Shapes& shapes)
{
    QByteArray bin;
    for (const Shape& shape : shapes) {
        const uint64_t skipped = shape.number == 1 ? std::min<uint64_t>(150, shape.preGapBlocks) : 0;
        for (uint64_t block = skipped; block < shape.preGapBlocks; ++block)
            bin += NumberedSectorProducer::block(shape.number, true, block, 2352);
        for (uint64_t block = 0; block < shape.dataBlocks; ++block)
            bin += NumberedSectorProducer::block(shape.number, false, block, 2352);
    }
    return bin;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DiscJobResult runInThread(BurnSession& session)
{
    QSignalSpy finished(&session, &DiscJob::finished);
    session.start();
    if (!finished.wait(60000))
        return DiscJobResult::failure(QStringLiteral("the burn did not finish"));
    return finished.first().first().value<DiscJobResult>();
}
}

class TestBurnSession : public QObject {
    Q_OBJECT

private slots:
    void numberedSectorsLandInOrderWithAMatchingCueSheet_data()
    {
        QTest::addColumn<Shapes>("shapes");
        QTest::addColumn<uint32_t>("maxBytesPerCall");
        QTest::addColumn<QByteArray>("cue");

        const Shapes threeTracks { { 1, 150, 5 }, { 2, 3, 4 }, { 3, 0, 700 } };
        const QByteArray threeTracksCue = "FILE \"disc.bin\" BINARY\n"
                                          "  TRACK 01 MODE2/2352\n"
                                          "    INDEX 01 00:00:00\n"
                                          "  TRACK 02 MODE2/2352\n"
                                          "    INDEX 00 00:00:05\n"
                                          "    INDEX 01 00:00:08\n"
                                          "  TRACK 03 MODE2/2352\n"
                                          "    INDEX 01 00:00:12\n";
        QTest::newRow("whole buffers") << threeTracks << 0u << threeTracksCue;
        QTest::newRow("one block a call") << threeTracks << 2352u << threeTracksCue;
        QTest::newRow("answers that split blocks") << threeTracks << 1000u << threeTracksCue;
        QTest::newRow("track 1 with a longer pregap") << Shapes { { 1, 152, 1 }, { 2, 75, 75 } } << 0u
                                                      << QByteArray("FILE \"disc.bin\" BINARY\n"
                                                                    "  TRACK 01 MODE2/2352\n"
                                                                    "    INDEX 00 00:00:00\n"
                                                                    "    INDEX 01 00:00:02\n"
                                                                    "  TRACK 02 MODE2/2352\n"
                                                                    "    INDEX 00 00:00:03\n"
                                                                    "    INDEX 01 00:01:03\n");
    }

    void numberedSectorsLandInOrderWithAMatchingCueSheet()
    {
        QFETCH(Shapes, shapes);
        QFETCH(uint32_t, maxBytesPerCall);
        QFETCH(QByteArray, cue);

        QTemporaryDir dir;
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->maxBytesPerCall = maxBytesPerCall;
        BurnSession session(
            imageBurn(dir.filePath(QStringLiteral("disc.cue"))), NumberedSectorProducer::rawLayout(producer, shapes));

        const DiscJobResult result = runInThread(session);
        QVERIFY2(result.succeeded(), qPrintable(result.message));
        QCOMPARE(session.percentDone(), 100.0);

        const QByteArray bin = readAll(dir.filePath(QStringLiteral("disc.bin")));
        const QByteArray expected = expectedBin(shapes);
        QCOMPARE(bin.size(), expected.size());
        QVERIFY(bin == expected);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("disc.cue"))), cue);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);

        // Many blocks asked at once, and every track prepared before any
        // byte is asked for and cleaned up after.
        QVERIFY(producer->largestRequest() >= 2 * 2352);
        const QStringList calls = producer->calls();
        const int lastPrepare = calls.lastIndexOf(QStringLiteral("prepare %1").arg(shapes.size()));
        const int firstProduce = calls.indexOf(QRegularExpression(QStringLiteral("(pregap|data) .*")));
        QVERIFY2(lastPrepare >= 0 && lastPrepare < firstProduce, qPrintable(calls.join(", ")));
        QCOMPARE(calls.filter(QStringLiteral("cleanup")).size(), shapes.size());
        QCOMPARE(producer->openTracks(), 0);
    }

    void aProducerThatCannotPrepareFailsTheBurnAndLeavesNoFile()
    {
        QTemporaryDir dir;
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->refusePreparingTrack = 2;
        BurnSession session(imageBurn(dir.filePath(QStringLiteral("disc.bin"))),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, 10 }, { 2, 0, 10 }, { 3, 0, 10 } }));

        const DiscJobResult result = runInThread(session);
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(QStringLiteral("Track 2 could not be prepared")), qPrintable(result.message));
        QVERIFY(result.message.contains(QStringLiteral("test producer: track 2 refused")));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());

        const QStringList calls = producer->calls();
        QVERIFY(!calls.contains(QStringLiteral("prepare 3")));
        QVERIFY(calls.filter(QRegularExpression(QStringLiteral("^(pregap|data) "))).isEmpty());
        QCOMPARE(calls.filter(QStringLiteral("cleanup")), QStringList { QStringLiteral("cleanup 1") });
        QCOMPARE(producer->openTracks(), 0);
    }

    void aProducerThatStopsServingFailsTheBurnAndLeavesNoFile()
    {
        QTemporaryDir dir;
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->failAtDataBlock = 600;
        BurnSession session(imageBurn(dir.filePath(QStringLiteral("disc"))),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, 10 }, { 2, 150, 1000 } }));

        const DiscJobResult result = runInThread(session);
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(QStringLiteral("data of track 2")), qPrintable(result.message));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(producer->openTracks(), 0);
    }

    void stoppingABurnLeavesNoFile()
    {
        QTemporaryDir dir;
        auto producer = std::make_shared<NumberedSectorProducer>();
        producer->maxBytesPerCall = 2352; // slow enough to be stopped midway
        BurnSession session(imageBurn(dir.filePath(QStringLiteral("disc.cue"))),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, 200000 } }));
        QSignalSpy finished(&session, &DiscJob::finished);
        connect(&session, &DiscJob::progressChanged, &session, [&session](double percent) {
            if (percent > 1.0)
                session.stop();
        });
        session.start();
        QVERIFY(finished.wait(60000));
        const auto result = finished.first().first().value<DiscJobResult>();
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Stopped);
        QVERIFY(session.percentDone() < 100.0);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(producer->openTracks(), 0);
    }

    void refusesWhatTheDiscImageRecorderCannotWrite_data()
    {
        QTest::addColumn<QString>("imageFile");
        QTest::addColumn<uint64_t>("dataBlocks");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no file chosen") << QString() << uint64_t(10) << "No file was chosen";
        QTest::newRow("more than 80 minutes") << "disc.bin" << uint64_t(80 * 60 * 75) << "more than the 80 minutes";
        QTest::newRow("an empty track") << "disc.bin" << uint64_t(0) << "Track 1 holds no data";
    }

    void refusesWhatTheDiscImageRecorderCannotWrite()
    {
        QFETCH(QString, imageFile);
        QFETCH(uint64_t, dataBlocks);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        auto producer = std::make_shared<NumberedSectorProducer>();
        BurnSession session(imageBurn(imageFile.isEmpty() ? QString() : dir.filePath(imageFile)),
            NumberedSectorProducer::rawLayout(producer, { { 1, 150, dataBlocks } }));
        const DiscJobResult result = session.run();
        QCOMPARE(result.outcome, DiscJobResult::Outcome::Failed);
        QVERIFY2(result.message.contains(reason), qPrintable(result.message));
        QVERIFY(producer->calls().filter(QStringLiteral("prepare")).isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void imageFileNamesGiveTheBinAndCuePaths_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("bin");
        QTest::addColumn<QString>("cue");
        QTest::newRow("cue") << "/d/disc.cue"
                             << "/d/disc.bin"
                             << "/d/disc.cue";
        QTest::newRow("bin in capitals") << "/d/DISC.BIN"
                                         << "/d/DISC.bin"
                                         << "/d/DISC.cue";
        QTest::newRow("no ending") << "/d/disc"
                                   << "/d/disc.bin"
                                   << "/d/disc.cue";
        QTest::newRow("another ending") << "/d/disc.img"
                                        << "/d/disc.img.bin"
                                        << "/d/disc.img.cue";
    }

    void imageFileNamesGiveTheBinAndCuePaths()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, bin);
        QFETCH(QString, cue);
        QCOMPARE(DiscImageWriter::binPathFor(chosen), bin);
        QCOMPARE(DiscImageWriter::cuePathFor(chosen), cue);
    }
};

QTEST_GUILESS_MAIN(TestBurnSession)
#include "tst_burnsession.moc"
