#include "common/Fixtures.h"
#include "platform/FfmpegMovie.h"
#include "platform/Movie.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

using MovieMaker = QString (*)();

constexpr QRgb kUntouched = 0x12345678;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kLime = 0xff00ff00;
constexpr QRgb kBlue = 0xff0000ff;
constexpr QRgb kBlack = 0xff000000;

bool isNear(QRgb actual, QRgb expected)
{
    constexpr int kTolerance = 40;
    return qAlpha(actual) == qAlpha(expected) && std::abs(qRed(actual) - qRed(expected)) <= kTolerance
        && std::abs(qGreen(actual) - qGreen(expected)) <= kTolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= kTolerance;
}

QString describe(QRgb colour)
{
    return QStringLiteral("#%1").arg(colour, 8, 16, QLatin1Char('0'));
}

// Renders into an image of the movie box's size that starts out filled with kUntouched.
QImage render(Movie& movie, int64_t time, bool* drawn = nullptr)
{
    QImage image(movie.movieBox().size(), QImage::Format_ARGB32);
    image.fill(kUntouched);
    const bool result = movie.renderFrame(time, reinterpret_cast<uint32_t*>(image.bits()), int(image.bytesPerLine()));
    if (drawn)
        *drawn = result;
    return image;
}

// True when the centre and the four corners of `image` all show `colour`.
bool isFilledWith(const QImage& image, QRgb colour, bool report = true)
{
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const QPoint points[] = { { 0, 0 }, { right, 0 }, { 0, bottom }, { right, bottom }, { right / 2, bottom / 2 } };
    for (const QPoint& point : points) {
        if (!isNear(image.pixel(point), colour)) {
            if (report)
                qWarning("pixel at %d,%d is %s, not %s", point.x(), point.y(), qPrintable(describe(image.pixel(point))),
                    qPrintable(describe(colour)));
            return false;
        }
    }
    return true;
}

// The colour of the phases fixtures at a time: red, then lime, then blue, a second each.
QRgb phaseColour(double seconds)
{
    if (seconds < 1)
        return kRed;
    return seconds < 2 ? kLime : kBlue;
}

std::unique_ptr<FfmpegMovie> openMovie(const QString& path)
{
    QString error;
    std::unique_ptr<FfmpegMovie> movie = FfmpegMovie::open(path, &error);
    if (!movie)
        qWarning("%s: %s", qPrintable(path), qPrintable(error));
    return movie;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct WavFacts {
    QByteArray header;
    qint64 frames = 0;
    int peakLeft = 0;
    int peakRight = 0;
    bool channelsEqual = true;
};

WavFacts examineWav(const QString& path)
{
    const QByteArray bytes = readFile(path);
    WavFacts facts;
    facts.header = bytes.left(44);
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData() + 44);
    facts.frames = (bytes.size() - 44) / 4;
    for (qint64 i = 0; i < facts.frames; ++i) {
        const int left = qFromLittleEndian(samples[2 * i]);
        const int right = qFromLittleEndian(samples[2 * i + 1]);
        facts.peakLeft = std::max(facts.peakLeft, std::abs(left));
        facts.peakRight = std::max(facts.peakRight, std::abs(right));
        facts.channelsEqual = facts.channelsEqual && left == right;
    }
    return facts;
}

QByteArray expectedWavHeader(quint32 dataBytes)
{
    QByteArray header(44, '\0');
    auto* at = reinterpret_cast<uchar*>(header.data());
    memcpy(at, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataBytes, at + 4);
    memcpy(at + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, at + 16);
    qToLittleEndian<quint16>(1, at + 20);
    qToLittleEndian<quint16>(2, at + 22);
    qToLittleEndian<quint32>(44100, at + 24);
    qToLittleEndian<quint32>(44100 * 4, at + 28);
    qToLittleEndian<quint16>(4, at + 32);
    qToLittleEndian<quint16>(16, at + 34);
    memcpy(at + 36, "data", 4);
    qToLittleEndian<quint32>(dataBytes, at + 40);
    return header;
}

} // namespace

class TestMovie : public QObject {
    Q_OBJECT

private slots:
    void describesEveryKindOfMovie_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("sound");
        QTest::addColumn<bool>("visual");
        QTest::addColumn<QSize>("naturalSize");
        QTest::newRow("H.264/AAC mov") << Fixtures::h264AacMov() << true << true << QSize(640, 360);
        QTest::newRow("H.264/AAC mp4") << Fixtures::h264AacMp4() << true << true << QSize(640, 360);
        QTest::newRow("MPEG-1/MP2 mpg") << Fixtures::mpeg1Mp2Mpg() << true << true << QSize(352, 240);
        QTest::newRow("MJPEG/PCM avi") << Fixtures::mjpegPcmAvi() << true << true << QSize(320, 240);
        QTest::newRow("no sound") << Fixtures::noSoundMp4() << false << true << QSize(640, 360);
        QTest::newRow("sound only") << Fixtures::soundOnlyM4a() << true << false << QSize();
        QTest::newRow("cover art is no picture") << Fixtures::soundWithCoverArtMp4() << true << false << QSize();
        QTest::newRow("disabled sound track") << Fixtures::disabledSoundMov() << false << true << QSize(640, 360);
        QTest::newRow("32:27 pixels") << Fixtures::anamorphicMov() << false << true << QSize(853, 480);
        QTest::newRow("quarter turn") << Fixtures::cornerMarkMp4(90) << false << true << QSize(180, 320);
        QTest::newRow("half turn") << Fixtures::cornerMarkMp4(180) << false << true << QSize(320, 180);
    }

    void describesEveryKindOfMovie()
    {
        QFETCH(QString, path);
        QFETCH(bool, sound);
        QFETCH(bool, visual);
        QFETCH(QSize, naturalSize);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        QCOMPARE(movie->timeScale(), 600);
        QCOMPARE(movie->hasSound(), sound);
        QCOMPARE(movie->hasVisual(), visual);
        QCOMPARE(movie->naturalSize(), naturalSize);
        QCOMPARE(movie->movieBox(), QRect(QPoint(0, 0), naturalSize));

        const double seconds = Fixtures::probe(path, QStringLiteral("format=duration")).toDouble();
        QVERIFY(seconds > 0.9);
        QCOMPARE(movie->duration(), int64_t(std::floor(seconds * 600 + 1e-6)));
    }

    void refusesWhatIsNoMovie_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QByteArray random(200000, '\0');
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
        const QByteArray movie = readFile(Fixtures::h264AacMov());
        QVERIFY(movie.size() > 1000);
        QTest::newRow("empty") << "empty.mov" << QByteArray();
        QTest::newRow("text named like a movie") << "clip.mov" << QByteArray("Just some notes.\nNot a movie.\n");
        QTest::newRow("random bytes") << "noise.mp4" << random;
        // ffmpeg writes the header last, so the first half has none.
        QTest::newRow("cut before its header") << "cut.mov" << movie.left(movie.size() / 2);
    }

    void refusesWhatIsNoMovie()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QString error;
        QVERIFY(!Movie::open(file.fileName(), &error));
        QVERIFY(!error.isEmpty());
    }

    void refusesWhatIsNoFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mov")));
        QString error;
        QVERIFY(!Movie::open(dir.filePath(QStringLiteral("folder.mov")), &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!Movie::open(dir.filePath(QStringLiteral("missing.mov")), &error));
        QVERIFY(!error.isEmpty());
    }

    void rendersThePictureShownAtATime_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("time");
        QTest::addColumn<QRgb>("colour");
        const QString mp4 = Fixtures::colourPhasesMp4();
        QTest::newRow("mp4 start") << mp4 << 0 << kRed;
        QTest::newRow("mp4 just before 1 s") << mp4 << 599 << kRed;
        QTest::newRow("mp4 at 1 s") << mp4 << 600 << kLime;
        QTest::newRow("mp4 just before 2 s") << mp4 << 1199 << kLime;
        QTest::newRow("mp4 at 2 s") << mp4 << 1200 << kBlue;
        QTest::newRow("mp4 past the end keeps the last picture") << mp4 << 5000 << kBlue;
        const QString mpg = Fixtures::colourPhasesMpg();
        QTest::newRow("mpg start") << mpg << 0 << kRed;
        QTest::newRow("mpg 1.5 s") << mpg << 900 << kLime;
        QTest::newRow("mpg 2.5 s") << mpg << 1500 << kBlue;
        const QString avi = Fixtures::colourPhasesAvi();
        QTest::newRow("avi start") << avi << 0 << kRed;
        QTest::newRow("avi at 1 s") << avi << 600 << kLime;
        QTest::newRow("avi 2.9 s") << avi << 1740 << kBlue;
    }

    void rendersThePictureShownAtATime()
    {
        QFETCH(QString, path);
        QFETCH(int, time);
        QFETCH(QRgb, colour);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        bool drawn = false;
        const QImage image = render(*movie, time, &drawn);
        QVERIFY(drawn);
        QVERIFY(isFilledWith(image, colour));
    }

    void playsForwardWithoutSeeking_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("framesPerSecond");
        QTest::newRow("H.264 at 30 fps") << Fixtures::colourPhasesMp4() << 30.0;
        // The encoder loop's NTSC rate over a 29.97 fps MPEG-1 movie.
        QTest::newRow("MPEG-1 at NTSC rate") << Fixtures::colourPhasesMpg() << 30000.0 / 1001;
        QTest::newRow("MJPEG at NTSC rate") << Fixtures::colourPhasesAvi() << 30000.0 / 1001;
    }

    void playsForwardWithoutSeeking()
    {
        QFETCH(QString, path);
        QFETCH(double, framesPerSecond);
        std::unique_ptr<FfmpegMovie> movie = openMovie(path);
        QVERIFY(movie);
        int frames = 0;
        for (int k = 0;; ++k) {
            const int64_t time = int64_t(std::ceil(k / framesPerSecond * 600));
            if (time >= movie->duration())
                break;
            bool drawn = false;
            const QImage image = render(*movie, time, &drawn);
            QVERIFY2(drawn, qPrintable(QStringLiteral("frame %1").arg(k)));
            // Pictures within a frame of a colour change may show either colour.
            const double seconds = time / 600.0;
            if (std::abs(seconds - std::round(seconds)) > 1.5 / framesPerSecond)
                QVERIFY2(isFilledWith(image, phaseColour(seconds)), qPrintable(QStringLiteral("frame %1").arg(k)));
            ++frames;
        }
        QVERIFY(frames >= 74);
        QCOMPARE(movie->seekCount(), 0);

        QVERIFY(isFilledWith(render(*movie, 300), kRed));
        QCOMPARE(movie->seekCount(), 1);
        QVERIFY(isFilledWith(render(*movie, 330), kRed));
        QCOMPARE(movie->seekCount(), 1);
        QVERIFY(isFilledWith(render(*movie, 1500), kBlue));
    }

    void drawsIntoTheMovieBoxOnly()
    {
        std::unique_ptr<Movie> movie = Movie::open(Fixtures::colourPhasesMp4());
        QVERIFY(movie);
        movie->setMovieBox(QRect(0, 0, 100, 50));
        QCOMPARE(movie->movieBox(), QRect(0, 0, 100, 50));
        QCOMPARE(movie->naturalSize(), QSize(320, 240));
        // Rows wider than the box: what lies past its width is not touched.
        constexpr int kStride = 128;
        std::vector<uint32_t> pixels(kStride * 50 + 1, kUntouched);
        QVERIFY(movie->renderFrame(900, pixels.data(), kStride * 4));
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < kStride; ++x) {
                const uint32_t pixel = pixels[y * kStride + x];
                if (x < 100)
                    QVERIFY2(isNear(pixel, kLime), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                else
                    QCOMPARE(pixel, kUntouched);
            }
        }
        QCOMPARE(pixels.back(), kUntouched);
    }

    void turnsThePictureAsRecorded_data()
    {
        QTest::addColumn<int>("rotateTag");
        QTest::addColumn<QString>("rotation"); // as ffprobe reads the file's display matrix
        QTest::addColumn<QPoint>("markedQuarter");
        QTest::newRow("unturned") << 0 << QString() << QPoint(0, 0);
        // A counter-clockwise quarter turn takes the top-left corner to the bottom-left.
        QTest::newRow("quarter turn") << 90 << "90" << QPoint(0, 1);
        QTest::newRow("half turn") << 180 << "-180" << QPoint(1, 1);
        // A phone held upright records a clockwise quarter turn.
        QTest::newRow("phone upright") << 270 << "-90" << QPoint(1, 0);
    }

    void turnsThePictureAsRecorded()
    {
        QFETCH(int, rotateTag);
        QFETCH(QString, rotation);
        QFETCH(QPoint, markedQuarter);
        const QString path = Fixtures::cornerMarkMp4(rotateTag);
        QCOMPARE(Fixtures::probe(path, QStringLiteral("stream_side_data=rotation"), QStringLiteral("v:0")), rotation);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        bool drawn = false;
        const QImage image = render(*movie, 0, &drawn);
        QVERIFY(drawn);
        const QSize quarter = image.size() / 2;
        for (int qy = 0; qy < 2; ++qy) {
            for (int qx = 0; qx < 2; ++qx) {
                const QPoint centre(
                    qx * quarter.width() + quarter.width() / 2, qy * quarter.height() + quarter.height() / 2);
                const QRgb expected = QPoint(qx, qy) == markedQuarter ? kRed : kBlack;
                QVERIFY2(isNear(image.pixel(centre), expected),
                    qPrintable(
                        QStringLiteral("quarter %1,%2 is %3").arg(qx).arg(qy).arg(describe(image.pixel(centre)))));
            }
        }
    }

    void scalesWidePixelsToTheirShownWidth()
    {
        std::unique_ptr<Movie> movie = Movie::open(Fixtures::anamorphicMov());
        QVERIFY(movie);
        bool drawn = false;
        const QImage image = render(*movie, 0, &drawn);
        QVERIFY(drawn);
        QCOMPARE(image.size(), QSize(853, 480));
        QCOMPARE(qAlpha(image.pixel(852, 479)), 255);
    }

    void drawsNothingWithoutAPicture_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("sound only") << Fixtures::soundOnlyM4a();
        QTest::newRow("cover art") << Fixtures::soundWithCoverArtMp4();
    }

    void drawsNothingWithoutAPicture()
    {
        QFETCH(QString, path);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        movie->setMovieBox(QRect(0, 0, 16, 16));
        bool drawn = true;
        const QImage image = render(*movie, 0, &drawn);
        QVERIFY(!drawn);
        QVERIFY(isFilledWith(image, kUntouched));
    }

    void keepsTheLastGoodPictureThroughDamage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("framesPerSecond");
        QTest::newRow("MPEG-1") << Fixtures::damagedMpg() << 30000.0 / 1001;
        QTest::newRow("MJPEG") << Fixtures::damagedAvi() << 25.0;
        QTest::newRow("H.264") << Fixtures::damagedMp4() << 30.0;
    }

    void keepsTheLastGoodPictureThroughDamage()
    {
        QFETCH(QString, path);
        QFETCH(double, framesPerSecond);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        for (int k = 0;; ++k) {
            const int64_t time = int64_t(std::ceil(k / framesPerSecond * 600));
            if (time >= movie->duration())
                break;
            bool drawn = false;
            const QImage image = render(*movie, time, &drawn);
            QVERIFY2(drawn, qPrintable(QStringLiteral("frame %1").arg(k)));
            // Every picture shown is a whole one of the three colours, never a damaged one.
            QVERIFY2(isFilledWith(image, kRed, false) || isFilledWith(image, kLime, false)
                    || isFilledWith(image, kBlue, false),
                qPrintable(QStringLiteral("frame %1").arg(k)));
        }
    }

    void readsACutMovieUpToTheCut()
    {
        const QString path = Fixtures::truncatedMp4(60);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        QCOMPARE(movie->duration(), 1200);
        for (int64_t time = 0; time < movie->duration(); time += 20) {
            bool drawn = false;
            render(*movie, time, &drawn);
            QVERIFY2(drawn, qPrintable(QStringLiteral("time %1").arg(time)));
        }
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("cut.wav"));
        QCOMPARE(movie->exportSound(wav, {}), Movie::ExportResult::Done);
        const WavFacts facts = examineWav(wav);
        QCOMPARE(facts.header, expectedWavHeader(quint32(facts.frames * 4)));
        QVERIFY(facts.frames > 0);
        QVERIFY(facts.frames < 2 * 44100);
    }

    void exportsSoundAsCdAudio_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("peak"); // of the tone in the source's channels
        QTest::addColumn<bool>("mono");
        // The fixtures' tone peaks at 4080; ffmpeg spreads it over two channels 3 dB lower.
        QTest::newRow("AAC stereo 48 kHz mov") << Fixtures::h264AacMov() << 2890 << false;
        QTest::newRow("MP2 stereo 44.1 kHz mpg") << Fixtures::mpeg1Mp2Mpg() << 2890 << false;
        QTest::newRow("PCM mono 48 kHz avi") << Fixtures::mjpegPcmAvi() << 4080 << true;
        QTest::newRow("sound only") << Fixtures::soundOnlyM4a() << 2890 << false;
        QTest::newRow("sound with cover art") << Fixtures::soundWithCoverArtMp4() << 2890 << false;
    }

    void exportsSoundAsCdAudio()
    {
        QFETCH(QString, path);
        QFETCH(int, peak);
        QFETCH(bool, mono);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("sound.wav"));
        QList<int> percents;
        QString error;
        const Movie::ExportResult result = movie->exportSound(
            wav,
            [&percents](int percent) {
                percents << percent;
                return false;
            },
            &error);
        QVERIFY2(result == Movie::ExportResult::Done, qPrintable(error));

        const WavFacts facts = examineWav(wav);
        QCOMPARE(facts.header, expectedWavHeader(quint32(facts.frames * 4)));
        QCOMPARE(QFileInfo(wav).size(), 44 + facts.frames * 4);
        double seconds = Fixtures::probe(path, QStringLiteral("stream=duration"), QStringLiteral("a:0")).toDouble();
        if (seconds <= 0) // AVI keeps no length per stream
            seconds = Fixtures::probe(path, QStringLiteral("format=duration")).toDouble();
        QVERIFY2(std::abs(facts.frames - seconds * 44100) < 0.05 * 44100,
            qPrintable(QStringLiteral("%1 frames for %2 s").arg(facts.frames).arg(seconds)));
        QVERIFY2(std::abs(facts.peakLeft - peak) < peak / 10, qPrintable(QString::number(facts.peakLeft)));
        QVERIFY2(std::abs(facts.peakRight - peak) < peak / 10, qPrintable(QString::number(facts.peakRight)));
        if (mono)
            QVERIFY(facts.channelsEqual);

        QVERIFY(percents.size() >= 2);
        QCOMPARE(percents.first(), 0);
        QCOMPARE(percents.last(), 100);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
    }

    void abortedExportLeavesNoFile_data()
    {
        QTest::addColumn<int>("abortAt");
        QTest::newRow("at the start") << 0;
        QTest::newRow("half way") << 50;
        QTest::newRow("at the end") << 100;
    }

    void abortedExportLeavesNoFile()
    {
        QFETCH(int, abortAt);
        std::unique_ptr<Movie> movie = Movie::open(Fixtures::h264AacMov());
        QVERIFY(movie);
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("sound.wav"));
        int last = -1;
        const Movie::ExportResult result = movie->exportSound(wav, [&](int percent) {
            last = percent;
            return percent >= abortAt;
        });
        QCOMPARE(result, Movie::ExportResult::Aborted);
        QVERIFY(last >= abortAt);
        QVERIFY(last <= std::max(abortAt + 5, 1));
        QVERIFY(!QFile::exists(wav));
    }

    void exportsNothingWithoutSound_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no sound track") << Fixtures::noSoundMp4();
        QTest::newRow("disabled sound track") << Fixtures::disabledSoundMov();
    }

    void exportsNothingWithoutSound()
    {
        QFETCH(QString, path);
        std::unique_ptr<Movie> movie = Movie::open(path);
        QVERIFY(movie);
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("sound.wav"));
        // A sound file left by an earlier run does not stay to be taken for this movie's.
        QFile stale(wav);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(expectedWavHeader(0));
        stale.close();
        QCOMPARE(movie->exportSound(wav, {}), Movie::ExportResult::NoSound);
        QVERIFY(!QFile::exists(wav));
    }

    void reportsAnExportThatCannotBeWritten()
    {
        std::unique_ptr<Movie> movie = Movie::open(Fixtures::h264AacMov());
        QVERIFY(movie);
        QTemporaryDir dir;
        QString error;
        const QString wav = dir.filePath(QStringLiteral("missing folder/sound.wav"));
        QCOMPARE(movie->exportSound(wav, {}, &error), Movie::ExportResult::Failed);
        QVERIFY(!error.isEmpty());
    }

    void rendersTheSamePicturesAfterAnExport()
    {
        std::unique_ptr<Movie> movie = Movie::open(Fixtures::h264AacMov());
        QVERIFY(movie);
        const QImage start = render(*movie, 0);
        const QImage second = render(*movie, 600);
        QVERIFY(start != second);
        QTemporaryDir dir;
        QCOMPARE(movie->exportSound(dir.filePath(QStringLiteral("a.wav")), {}), Movie::ExportResult::Done);
        QCOMPARE(render(*movie, 600), second);
        QCOMPARE(render(*movie, 0), start);
    }

    void rendersWhileAnotherCopyExports()
    {
        // The audio and video workers use the movie service at once.
        std::unique_ptr<Movie> rendered = Movie::open(Fixtures::colourPhasesMp4());
        std::unique_ptr<Movie> exported = Movie::open(Fixtures::h264AacMov());
        QVERIFY(rendered && exported);
        QTemporaryDir dir;
        Movie::ExportResult result = Movie::ExportResult::Failed;
        std::thread worker([&] { result = exported->exportSound(dir.filePath(QStringLiteral("a.wav")), {}); });
        bool allRight = true;
        for (int64_t time = 0; time < rendered->duration(); time += 20)
            allRight = allRight && isFilledWith(render(*rendered, time), phaseColour(time / 600.0));
        worker.join();
        QVERIFY(allRight);
        QCOMPARE(result, Movie::ExportResult::Done);
    }
};

QTEST_GUILESS_MAIN(TestMovie)
#include "tst_movie.moc"
