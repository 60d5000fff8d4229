#include "common/Fixtures.h"
#include "movtoy4m/VideoOutput.h"
#include "platform/Movie.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What a stream held: its header, one digest per frame record and the last
// record itself, without keeping hundreds of frames in memory.
struct Capture {
    QByteArray header;
    QList<QByteArray> digests;
    QByteArray lastRecord;

    VideoOutput::StreamWriter writer()
    {
        return [this](const char* data, qint64 size) {
            const QByteArray bytes(data, size);
            if (header.isEmpty()) {
                header = bytes;
            } else {
                digests << QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
                lastRecord = bytes;
            }
            return true;
        };
    }

    // Luma of row `row` of the last record.
    QByteArray lumaRow(int width, int row) const { return lastRecord.mid(6 + qsizetype(row) * width, width); }
};

struct Converted {
    VideoResult result;
    Capture capture;
};

Converted writeStream(const QString& moviePath, int width, int height, int rate1, int rate2, int lightness = 0,
    const std::atomic_bool* stop = nullptr, QList<double>* progress = nullptr)
{
    Converted converted;
    const std::unique_ptr<Movie> movie = Movie::open(moviePath);
    if (!movie) {
        converted.result = VideoResult::failed(QStringLiteral("no movie"));
        return converted;
    }
    VideoOutput output(*movie);
    output.setVCD(true, rate1 == 25, 1152, 100, lightness, false, false);
    output.setWidth(width, height, rate1, rate2, 4, 3);
    output.setStopFlag(stop);
    if (progress)
        output.setProgressHandler([progress](double percent) { *progress << percent; });
    converted.result = output.writeStream(converted.capture.writer());
    return converted;
}

bool allOf(const QByteArray& bytes, char value)
{
    return bytes.count(value) == bytes.size() && !bytes.isEmpty();
}

} // namespace

class TestVideoOutput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { VideoOutput::initialize(); }

    void writesTheStreamHeader()
    {
        const Converted pal = writeStream(Fixtures::pal25Mp4(2), 352, 288, 25, 1);
        QCOMPARE(pal.capture.header, QByteArray("YUV4MPEG2 W352 H288 F25:1 Ip A1:1\n"));
        const Converted ntsc = writeStream(Fixtures::pal25Mp4(2), 480, 480, 30000, 1001);
        QCOMPARE(ntsc.capture.header, QByteArray("YUV4MPEG2 W480 H480 F30000:1001 Ip A1:1\n"));
        QCOMPARE(ntsc.capture.lastRecord.size(), 6 + 480 * 480 * 3 / 2);
        QVERIFY(ntsc.capture.lastRecord.startsWith("FRAME\n"));
    }

    void padsShortMoviesToTheMinimum_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("records");
        QTest::newRow("2 s: 50 frames and 130 copies") << 2 << 50 << 180;
        QTest::newRow("10 s: not padded") << 10 << 250 << 250;
    }

    void padsShortMoviesToTheMinimum()
    {
        QFETCH(int, seconds);
        QFETCH(int, frames);
        QFETCH(int, records);
        const Converted converted = writeStream(Fixtures::pal25Mp4(seconds), 352, 288, 25, 1);
        QVERIFY2(converted.result.succeeded(), qPrintable(converted.result.error));
        const QList<QByteArray>& digests = converted.capture.digests;
        QCOMPARE(digests.size(), records);
        // The moving picture differs frame by frame; the padding repeats the last.
        QVERIFY(digests.at(frames - 2) != digests.at(frames - 1));
        for (int i = frames; i < records; ++i)
            QCOMPARE(digests.at(i), digests.at(frames - 1));
    }

    void aMovieOfZeroDurationGivesBlackFrames()
    {
        const std::unique_ptr<Movie> movie = Movie::open(Fixtures::zeroDurationMp4());
        QVERIFY(movie);
        QCOMPARE(movie->duration(), 0);
        const Converted converted = writeStream(Fixtures::zeroDurationMp4(), 352, 240, 30000, 1001);
        QVERIFY2(converted.result.succeeded(), qPrintable(converted.result.error));
        QCOMPARE(converted.capture.digests.size(), 180);
        QCOMPARE(converted.capture.digests.count(converted.capture.digests.first()), 180);
        const QByteArray& record = converted.capture.lastRecord;
        QVERIFY(allOf(record.mid(6, 352 * 240), 16));
        QVERIFY(allOf(record.mid(6 + 352 * 240), char(128)));
    }

    // A 16:9 movie on NTSC VCD lies in rows 30 to 209; the bars stay black
    // whatever the lightening does to the picture. (The movie's own white
    // decodes to 253-255, hence the tolerance.)
    void letterboxesAndLightens_data()
    {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<int>("lightness");
        QTest::addColumn<int>("pictureLuma");
        QTest::newRow("white") << "white" << 0 << 235;
        QTest::newRow("black") << "black" << 0 << 16;
        QTest::newRow("lightness 1 is none") << "black" << 1 << 16;
        QTest::newRow("lightness 2 lightens") << "black" << 2 << 17;
        QTest::newRow("lightness 128 half") << "black" << 128 << 125;
        QTest::newRow("lightness 255 white") << "black" << 255 << 235;
        QTest::newRow("lightness 256 wraps to none") << "black" << 256 << 16;
        QTest::newRow("white stays white") << "white" << 128 << 235;
    }

    void letterboxesAndLightens()
    {
        QFETCH(QString, colour);
        QFETCH(int, lightness);
        QFETCH(int, pictureLuma);
        const Converted converted = writeStream(Fixtures::plainColourMp4(colour), 352, 240, 30000, 1001, lightness);
        QVERIFY2(converted.result.succeeded(), qPrintable(converted.result.error));
        const Capture& capture = converted.capture;
        for (int row : { 0, 29, 210, 239 })
            QVERIFY2(allOf(capture.lumaRow(352, row), 16), qPrintable(QStringLiteral("bar row %1").arg(row)));
        for (int row : { 31, 120, 208 }) {
            const QByteArray luma = capture.lumaRow(352, row);
            for (char sample : luma)
                QVERIFY2(qAbs(int(uchar(sample)) - pictureLuma) <= 2,
                    qPrintable(QStringLiteral("row %1 has %2").arg(row).arg(int(uchar(sample)))));
        }
    }

    void stopEndsAfterTheCurrentFrameAndStillPads()
    {
        const std::atomic_bool stop { true };
        QList<double> progress;
        const Converted converted = writeStream(Fixtures::pal25Mp4(10), 352, 288, 25, 1, 0, &stop, &progress);
        QCOMPARE(converted.result.status, VideoResult::Status::Stopped);
        QCOMPARE(progress.size(), 1);
        QCOMPARE(converted.capture.digests.size(), 180);
        QCOMPARE(converted.capture.digests.count(converted.capture.digests.first()), 180);
    }

    void reportsRisingProgress()
    {
        QList<double> progress;
        const Converted converted = writeStream(Fixtures::pal25Mp4(2), 352, 288, 25, 1, 0, nullptr, &progress);
        QVERIFY(converted.result.succeeded());
        QCOMPARE(progress.size(), 50);
        QCOMPARE(progress.first(), 0.0);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QVERIFY(progress.last() > 95 && progress.last() <= 100);
    }

    // Sizes no buffer can be made for fail before the encoder is started, and
    // leave no output file behind.
    void framesThatCannotBeMadeFailVisibly_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("rate1");
        QTest::newRow("empty") << QSize(0, 0) << 25;
        QTest::newRow("odd height") << QSize(352, 239) << 25;
        QTest::newRow("odd width") << QSize(351, 240) << 25;
        QTest::newRow("huge") << QSize(100000, 100000) << 25;
        QTest::newRow("no frame rate") << QSize(352, 288) << 0;
    }

    void framesThatCannotBeMadeFailVisibly()
    {
        QFETCH(QSize, size);
        QFETCH(int, rate1);
        const std::unique_ptr<Movie> movie = Movie::open(Fixtures::pal25Mp4(2));
        QVERIFY(movie);
        VideoOutput output(*movie);
        output.setVCD(true, true, 1152, 100, 0, false, false);
        QVERIFY(!output.setWidth(size.width(), size.height(), rate1, 1, 4, 3));
        Capture capture;
        QCOMPARE(output.writeStream(capture.writer()).status, VideoResult::Status::Failed);
        QVERIFY(capture.header.isEmpty());

        QTemporaryDir folder;
        const QString stream = folder.filePath(QStringLiteral("clip.m1v"));
        QVERIFY(output.setDstFile(stream));
        const VideoResult result = output.convert();
        QCOMPARE(result.status, VideoResult::Status::Failed);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!QFile::exists(stream));
    }
};

QTEST_GUILESS_MAIN(TestVideoOutput)
#include "tst_videooutput.moc"
