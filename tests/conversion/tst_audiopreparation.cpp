#include "common/Fixtures.h"
#include "conversion/AudioPreparation.h"
#include "conversion/BbdmuxProgress.h"
#include "platform/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A project folder whose name a shell would mangle.
QString awkwardProject(const QTemporaryDir &root)
{
    const QString folder = root.filePath(QStringLiteral("it's \"my\" $HOME `date` project"));
    QDir().mkpath(folder);
    return folder;
}

void verifyVcdAudio(const QString &mp2)
{
    QCOMPARE(Fixtures::probe(mp2, QStringLiteral("stream=codec_name,sample_rate,channels,bit_rate")),
        QStringLiteral("mp2\n44100\n2\n224000"));
}

struct ProgressLog
{
    QList<int> percents;
    int stopAt = 101; // answer Stop once this percentage is reached

    AudioPreparation::Progress hook()
    {
        return [this](int percent) {
            percents << percent;
            return percent >= stopAt;
        };
    }
};

} // namespace

class TestAudioPreparation : public QObject
{
    Q_OBJECT

private slots:
    void leadingCount_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<quint64>("count");
        QTest::newRow("a number alone") << "4096" << quint64(4096);
        QTest::newRow("blanks, number, word") << "  \t4096 bytes" << quint64(4096);
        QTest::newRow("words only") << "copying audio 4096" << quint64(0);
        QTest::newRow("empty") << "" << quint64(0);
        QTest::newRow("sign is no number") << "-12" << quint64(0);
        QTest::newRow("absurdly long") << "99999999999999999999999999" << (quint64(1) << 60);
    }

    void leadingCount()
    {
        QFETCH(QString, line);
        QFETCH(quint64, count);
        QCOMPARE(BbdmuxProgress::leadingCount(line), count);
    }

    void bbdmuxProgressAddsUp()
    {
        BbdmuxProgress progress(100000);
        QCOMPARE(progress.addLine(QStringLiteral("4096 bytes")), 4);
        QCOMPARE(progress.addLine(QStringLiteral("done")), 4);
        QCOMPARE(progress.addLine(QStringLiteral(" 96000")), 100);
        QCOMPARE(progress.total(), quint64(100096));
        // Fewer than 100 bytes of input: no hundredth to divide by.
        BbdmuxProgress tiny(99);
        QCOMPARE(tiny.addLine(QStringLiteral("99")), 0);
    }

    void sharePercent_data()
    {
        QTest::addColumn<quint64>("done");
        QTest::addColumn<quint64>("hundredth");
        QTest::addColumn<int>("percent");
        QTest::newRow("start") << quint64(0) << quint64(50) << 0;
        QTest::newRow("rounds down") << quint64(149) << quint64(50) << 2;
        QTest::newRow("whole") << quint64(5000) << quint64(50) << 100;
        QTest::newRow("the remainder past 100 parts") << quint64(5049) << quint64(50) << 100;
        QTest::newRow("no hundredth") << quint64(70) << quint64(0) << 0;
        QTest::newRow("beyond 4 GB") << (quint64(6) << 32) << (quint64(8) << 32) / 100 << 75;
    }

    void sharePercent()
    {
        QFETCH(quint64, done);
        QFETCH(quint64, hundredth);
        QFETCH(int, percent);
        QCOMPARE(AudioPreparation::sharePercent(done, hundredth), percent);
    }

    // Stereo and mono sound alike become VCD audio; the WAV goes.
    void exportsAndEncodes_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::newRow("AAC stereo 48 kHz") << Fixtures::h264AacMov();
        QTest::newRow("PCM mono") << Fixtures::mjpegPcmAvi();
    }

    void exportsAndEncodes()
    {
        QFETCH(QString, movie);
        QTemporaryDir root;
        const MovieFiles files = MovieFiles::forMovie(movie, awkwardProject(root), true);
        ProgressLog extraction;
        QCOMPARE(AudioPreparation::extractAudio(movie, files, extraction.hook()).status, StepResult::Status::Done);
        QVERIFY(QFileInfo(files.wav).size() > 44);
        QCOMPARE(extraction.percents.last(), 100);

        ProgressLog encoding;
        const StepResult encoded = AudioPreparation::convertAudio(files, encoding.hook());
        QVERIFY2(encoded.status == StepResult::Status::Done, qPrintable(encoded.error + encoded.output));
        QVERIFY(!QFile::exists(files.wav));
        verifyVcdAudio(files.mp2);
        QVERIFY(encoding.percents.size() > 1);
        QVERIFY(std::is_sorted(encoding.percents.cbegin(), encoding.percents.cend()));
        QCOMPARE(encoding.percents.last(), 100);
    }

    void moviesWithoutSoundMakeNoAudioFiles_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::newRow("no sound track") << Fixtures::noSoundMp4();
        QTest::newRow("sound track disabled") << Fixtures::disabledSoundMov();
    }

    void moviesWithoutSoundMakeNoAudioFiles()
    {
        QFETCH(QString, movie);
        QTemporaryDir project;
        const MovieFiles files = MovieFiles::forMovie(movie, project.path(), true);
        QCOMPARE(AudioPreparation::extractAudio(movie, files, {}).status, StepResult::Status::NoSound);
        QCOMPARE(AudioPreparation::convertAudio(files, {}).status, StepResult::Status::NoSound);
        QVERIFY(QDir(project.path()).isEmpty());
    }

    // Stop closes the pipe: the encoder finishes early with what it read,
    // and the WAV still goes.
    void stopEndsTheEncoderEarly()
    {
        QTemporaryDir project;
        const QString movie = Fixtures::h264AacMov();
        const MovieFiles files = MovieFiles::forMovie(movie, project.path(), true);
        QCOMPARE(AudioPreparation::extractAudio(movie, files, {}).status, StepResult::Status::Done);
        const qint64 wavSize = QFileInfo(files.wav).size();
        ProgressLog encoding;
        encoding.stopAt = 0;
        QCOMPARE(AudioPreparation::convertAudio(files, encoding.hook()).status, StepResult::Status::Stopped);
        QCOMPARE(encoding.percents.size(), 1);
        QVERIFY(!QFile::exists(files.wav));
        // One block of a 2 s WAV is far less than its whole sound.
        const qint64 mp2Size = QFileInfo(files.mp2).size();
        QVERIFY(mp2Size > 0);
        QVERIFY(mp2Size < wavSize / 7 / 2);
    }

    // A WAV the encoder cannot read is a failure that says why, not an
    // empty or missing sound later.
    void encoderFailureIsReported()
    {
        QTemporaryDir project;
        const MovieFiles files = MovieFiles::forMovie(QStringLiteral("/movies/clip.mov"), project.path(), true);
        QFile wav(files.wav);
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write(QByteArray(10000, 'x'));
        wav.close();
        const StepResult result = AudioPreparation::convertAudio(files, {});
        QCOMPARE(result.status, StepResult::Status::Failed);
        QVERIFY(result.error.contains(QStringLiteral("mp2enc")));
        QVERIFY(!result.output.isEmpty());
        QVERIFY(QDir(project.path()).isEmpty());
    }

    // The audio of an MPEG file is copied byte for byte, not encoded again.
    void copiesMPEGAudio()
    {
        QTemporaryDir root;
        const QString movie = Fixtures::mpeg1Mp2Mpg();
        const MovieFiles files = MovieFiles::forMovie(movie, awkwardProject(root), true);
        ProgressLog extraction;
        QCOMPARE(AudioPreparation::extractMPEGAudio(movie, files, extraction.hook()).status, StepResult::Status::Done);
        verifyVcdAudio(files.mp2);
        QVERIFY(!extraction.percents.isEmpty());
        QVERIFY(extraction.percents.last() > 0);
        const QString copy = root.filePath(QStringLiteral("copy.mp2"));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
            { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), movie, QStringLiteral("-map"),
                QStringLiteral("0:a"), QStringLiteral("-c"), QStringLiteral("copy"), QStringLiteral("-f"),
                QStringLiteral("mp2"), copy });
        QVERIFY(ffmpeg.waitForFinished(60000));
        QFile ours(files.mp2);
        QFile theirs(copy);
        QVERIFY(ours.open(QIODevice::ReadOnly) && theirs.open(QIODevice::ReadOnly));
        QCOMPARE(ours.readAll(), theirs.readAll());
    }

    void mpegWithoutAudioGivesNoSound()
    {
        QTemporaryDir project;
        const QString movie = Fixtures::colourPhasesMpg();
        const MovieFiles files = MovieFiles::forMovie(movie, project.path(), true);
        QCOMPARE(AudioPreparation::extractMPEGAudio(movie, files, {}).status, StepResult::Status::NoSound);
        QVERIFY(QDir(project.path()).isEmpty());
    }

    // bbdmux's lines count exactly the bytes it wrote.
    void bbdmuxCountsWhatItWrites()
    {
        QTemporaryDir project;
        const QString output = project.filePath(QStringLiteral("out.mp2"));
        quint64 total = 0;
        int lines = 0;
        const ToolProcess::Result result = ToolProcess::run(QStringLiteral("bbdmux"),
            { Fixtures::mpeg1Mp2Mpg(), QStringLiteral("0xc0"), output }, [&](const QString &line) {
                total += BbdmuxProgress::leadingCount(line);
                ++lines;
            });
        QVERIFY2(result.succeeded(), qPrintable(result.error + result.output));
        QVERIFY(lines > 1);
        QCOMPARE(total, quint64(QFileInfo(output).size()));
    }

    void bbdmuxRefusesWhatIsNoProgramStream()
    {
        QTemporaryDir project;
        const QString output = project.filePath(QStringLiteral("out.mp2"));
        const ToolProcess::Result result
            = ToolProcess::run(QStringLiteral("bbdmux"), { project.path(), QStringLiteral("0xc0"), output });
        QCOMPARE(result.exitCode, 1);
        QVERIFY(!result.output.isEmpty());
        QVERIFY(!QFile::exists(output));
    }
};

QTEST_GUILESS_MAIN(TestAudioPreparation)
#include "tst_audiopreparation.moc"
