#include "common/Fixtures.h"
#include "movtoy4m/VideoConversion.h"
#include "platform/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// A project folder whose name a shell would mangle.
QString awkwardProject(const QTemporaryDir& root)
{
    const QString folder = root.filePath(QStringLiteral("it's \"my\" $HOME `date` project"));
    QDir().mkpath(folder);
    return folder;
}

// Our own running child called `name`, or 0.
pid_t childNamed(const QString& name)
{
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile children(QStringLiteral("/proc/self/task/%1/children").arg(task));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& pid : children.readAll().split(' ')) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(QString::fromLatin1(pid.trimmed())));
            if (!pid.trimmed().isEmpty() && comm.open(QIODevice::ReadOnly)
                && comm.readAll().trimmed() == name.toLatin1())
                return pid_t(pid.trimmed().toInt());
        }
    }
    return 0;
}

int countFrames(const QString& stream)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"),
            QStringLiteral("-show_entries"), QStringLiteral("stream=nb_read_frames"), QStringLiteral("-of"),
            QStringLiteral("default=noprint_wrappers=1:nokey=1"), stream });
    ffprobe.waitForFinished(60000);
    return ffprobe.readAllStandardOutput().trimmed().toInt();
}

} // namespace

class TestVideoEncode : public QObject {
    Q_OBJECT

private slots:
    void encodesDiscStreams_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<bool>("pal");
        QTest::addColumn<bool>("interlaced");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<QString>("streamName");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("rate");
        QTest::newRow("VCD NTSC") << true << false << false << 1152 << "h264_aac.m1v"
                                  << "mpeg1video"
                                  << "352\n240"
                                  << "30000/1001";
        QTest::newRow("SVCD PAL") << false << true << false << 0 << "h264_aac.m2v"
                                  << "mpeg2video"
                                  << "480\n576"
                                  << "25/1";
        QTest::newRow("VCD PAL, interlaced asked") << true << true << true << 1150 << "h264_aac.m1v"
                                                   << "mpeg1video"
                                                   << "352\n288"
                                                   << "25/1";
    }

    void encodesDiscStreams()
    {
        QFETCH(bool, vcd);
        QFETCH(bool, pal);
        QFETCH(bool, interlaced);
        QFETCH(int, bitRate);
        QFETCH(QString, streamName);
        QFETCH(QString, codec);
        QFETCH(QString, size);
        QFETCH(QString, rate);
        QTemporaryDir root;
        const QString project = awkwardProject(root);
        VideoSettings settings;
        settings.formatVCD = vcd;
        settings.formatPAL = pal;
        settings.bitRate = bitRate;
        settings.interlaced = interlaced;
        bool waited = false;
        double lastProgress = -1;
        VideoConversion::Hooks hooks;
        hooks.waitForAudio = [&waited] { waited = true; };
        hooks.progress = [&lastProgress](double percent) { lastProgress = percent; };

        const VideoResult result = VideoConversion::convertVideo(Fixtures::h264AacMov(), project, settings, hooks);
        QVERIFY2(result.succeeded(), qPrintable(result.error));
        QVERIFY(waited);
        QVERIFY(lastProgress > 95);
        const QString stream = QDir(project).filePath(streamName);
        QCOMPARE(VideoConversion::streamPath(Fixtures::h264AacMov(), project, vcd), stream);
        QCOMPARE(Fixtures::probe(stream, QStringLiteral("stream=codec_name")), codec);
        QCOMPARE(Fixtures::probe(stream, QStringLiteral("stream=width,height")), size);
        QCOMPARE(Fixtures::probe(stream, QStringLiteral("stream=r_frame_rate")), rate);
        // 2 s of movie, padded to the minimum.
        QCOMPARE(countFrames(stream), 180);
        QVERIFY(!QFileInfo::exists(PrivateTempDir::filePath(QStringLiteral("KestrinMPGVideo"))));
    }

    // The encoder dying mid-stream ends the loop at once, reports why and
    // leaves no half stream behind.
    void aDeadEncoderFailsTheConversion()
    {
        QTemporaryDir root;
        const QString project = awkwardProject(root);
        bool killed = false;
        VideoConversion::Hooks hooks;
        hooks.progress = [&killed](double percent) {
            if (!killed && percent > 10) {
                const pid_t encoder = childNamed(QStringLiteral("mpeg2enc"));
                QVERIFY(encoder > 0);
                killed = ::kill(encoder, SIGKILL) == 0;
            }
        };
        VideoSettings settings;
        settings.formatPAL = true;
        settings.bitRate = 1152;
        const VideoResult result = VideoConversion::convertVideo(Fixtures::pal25Mp4(10), project, settings, hooks);
        QVERIFY(killed);
        QCOMPARE(result.status, VideoResult::Status::Failed);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!QFile::exists(QDir(project).filePath(QStringLiteral("pal25_10s.m1v"))));
    }

    void moviesWithoutPictureMakeNoStream()
    {
        QTemporaryDir root;
        VideoConversion::Hooks hooks;
        const VideoResult result
            = VideoConversion::convertVideo(Fixtures::soundOnlyM4a(), root.path(), VideoSettings(), hooks);
        QCOMPARE(result.status, VideoResult::Status::NoVisualTrack);
        QVERIFY(QDir(root.path()).isEmpty());
    }

    void aProjectFolderThatIsGoneFails()
    {
        QTemporaryDir root;
        const QString gone = root.filePath(QStringLiteral("gone"));
        const VideoResult result = VideoConversion::convertVideo(Fixtures::pal25Mp4(2), gone, VideoSettings(), {});
        QCOMPARE(result.status, VideoResult::Status::Failed);
        QVERIFY(result.error.contains(gone));
    }

    void aFileThatIsNoMovieFails()
    {
        QTemporaryDir root;
        const QString notAMovie = root.filePath(QStringLiteral("notes.mov"));
        QFile file(notAMovie);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some words\n");
        file.close();
        const VideoResult result = VideoConversion::convertVideo(notAMovie, root.path(), VideoSettings(), {});
        QCOMPARE(result.status, VideoResult::Status::Failed);
        QVERIFY(!QFile::exists(root.filePath(QStringLiteral("notes.m1v"))));
    }
};

QTEST_GUILESS_MAIN(TestVideoEncode)
#include "tst_videoencode.moc"
