#include "common/Fixtures.h"
#include "conversion/ConversionJob.h"
#include "conversion/MovieSelection.h"
#include "conversion/Multiplexer.h"
#include "platform/PrivateTempDir.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Marks the project's converted files stale, as a confirmed setting change does.
void markMPEGsStale(const QString &folder)
{
    SettingsModel model;
    model.setProjectFolder(folder);
    Preferences(&model).deleteMPEGs();
}

// A project folder whose name a shell would mangle.
QString awkwardProject(const QTemporaryDir &root)
{
    const QString folder = root.filePath(QStringLiteral("it's \"my\" $HOME `date` project"));
    QDir().mkpath(folder);
    return folder;
}

ConversionSettings discSettings(bool vcd, bool pal)
{
    ConversionSettings settings;
    settings.video.formatVCD = vcd;
    settings.video.formatPAL = pal;
    settings.video.bitRate = vcd ? 1152 : 2500;
    return settings;
}

ConversionSettings vcdNTSC()
{
    return discSettings(true, false);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A copy of `source` under another name, in `folder`.
QString copyAs(const QString &source, const QString &folder, const QString &name)
{
    const QString target = QDir(folder).filePath(name);
    QDir().mkpath(QFileInfo(target).path());
    return QFile::copy(source, target) ? target : QString();
}

// The bytes of a file's first audio stream, copied out by ffmpeg.
QByteArray audioBytes(const QString &file, const QTemporaryDir &scratch)
{
    const QString copy = scratch.filePath(QFileInfo(file).fileName() + QStringLiteral(".audio.mp2"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        { QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-i"), file,
            QStringLiteral("-map"), QStringLiteral("0:a:0"), QStringLiteral("-c"), QStringLiteral("copy"),
            QStringLiteral("-f"), QStringLiteral("mp2"), copy });
    ffmpeg.waitForFinished(60000);
    QFile bytes(copy);
    return bytes.open(QIODevice::ReadOnly) ? bytes.readAll() : QByteArray();
}

void setTime(const QString &path, qint64 seconds)
{
    const timespec times[2] = { { seconds, 0 }, { seconds, 0 } };
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

bool linksLeft()
{
    for (const char *name : { Multiplexer::kVideoLink, Multiplexer::kAudioLink, Multiplexer::kOutputLink })
        if (QFileInfo(PrivateTempDir::filePath(QString::fromLatin1(name))).isSymLink())
            return true;
    return false;
}

} // namespace

class TestConversionJob : public QObject
{
    Q_OBJECT

private slots:
    void convertsDiscStreams_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<bool>("pal");
        QTest::addColumn<QString>("video");
        QTest::newRow("VCD NTSC") << true << false << "mpeg1video\n352\n240\n30000/1001";
        QTest::newRow("SVCD PAL") << false << true << "mpeg2video\n480\n576\n25/1";
    }

    void convertsDiscStreams()
    {
        QFETCH(bool, vcd);
        QFETCH(bool, pal);
        QFETCH(QString, video);
        QTemporaryDir root;
        const QString project = awkwardProject(root);
        markMPEGsStale(project);
        ConversionJob job(project, discSettings(vcd, pal));
        QSignalSpy finished(&job, &ConversionJob::finished);
        QSignalSpy audioMovies(&job, &ConversionJob::audioMovieChanged);
        QSignalSpy combined(&job, &ConversionJob::combineMovieChanged);
        QSignalSpy videoProgress(&job, &ConversionJob::convertVideoProgressChanged);

        const ConversionReport report = job.run({ Fixtures::h264AacMov() });
        QVERIFY2(report.succeeded(), qPrintable(report.failureText()));
        QCOMPARE(report.converted, QStringList { Fixtures::h264AacMov() });
        const QString mpg = QDir(project).filePath(QStringLiteral("h264_aac.mpg"));
        QCOMPARE(
            Fixtures::probe(mpg, QStringLiteral("stream=codec_name,width,height,r_frame_rate"), QStringLiteral("v:0")),
            video);
        QCOMPARE(Fixtures::probe(
                     mpg, QStringLiteral("stream=codec_name,sample_rate,channels,bit_rate"), QStringLiteral("a:0")),
            QStringLiteral("mp2\n44100\n2\n224000"));
        // Nothing but the result stays, and the marker is gone.
        QCOMPARE(filesIn(project), QStringList { QStringLiteral("h264_aac.mpg") });
        QVERIFY(!linksLeft());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 200);
        QVERIFY(audioMovies.contains(QVariantList { QStringLiteral("h264_aac.mov") }));
        QVERIFY(combined.contains(QVariantList { QStringLiteral("h264_aac.mov") }));
        QVERIFY(videoProgress.size() > 3);
        QVERIFY(!job.isRunning());
    }

    void aMovieWithoutSoundGivesVideoOnly()
    {
        QTemporaryDir project;
        ConversionJob job(project.path(), vcdNTSC());
        const ConversionReport report = job.run({ Fixtures::noSoundMp4() });
        QVERIFY2(report.succeeded(), qPrintable(report.failureText()));
        const QString mpg = project.filePath(QStringLiteral("nosound.mpg"));
        QCOMPARE(Fixtures::probe(mpg, QStringLiteral("stream=codec_type")), QStringLiteral("video"));
    }

    // A name ending in .mpg or .mpeg, in any case, has its MPEG audio copied
    // as it is; any other name has its sound encoded afresh.
    void mpegFilesKeepTheirAudio_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mpg");
        QTest::addColumn<bool>("copied");
        QTest::newRow("clip.MPEG") << "clip.MPEG"
                                   << "clip.mpg" << true;
        QTest::newRow("clip.mpeg.mov") << "clip.mpeg.mov"
                                       << "clip.mpeg.mpg" << false;
    }

    void mpegFilesKeepTheirAudio()
    {
        QFETCH(QString, name);
        QFETCH(QString, mpg);
        QFETCH(bool, copied);
        QTemporaryDir project;
        QTemporaryDir movies;
        const QString movie = copyAs(Fixtures::mpeg1Mp2Mpg(), movies.path(), name);
        ConversionJob job(project.path(), vcdNTSC());
        const ConversionReport report = job.run({ movie });
        QVERIFY2(report.succeeded(), qPrintable(report.failureText()));
        QCOMPARE(filesIn(project.path()), QStringList { mpg });
        const QByteArray source = audioBytes(movie, movies);
        const QByteArray converted = audioBytes(project.filePath(mpg), movies);
        QVERIFY(source.size() > 10000);
        QCOMPARE(converted == source, copied);
    }

    void stopDuringTheFirstMovie_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("firstMovie");
        QTest::newRow("while its sound is exported") << "sound" << Fixtures::h264AacMov();
        QTest::newRow("while its picture is encoded") << "picture" << Fixtures::h264AacMov();
        // The second movie's sound is ready and waits for its picture.
        QTest::newRow("once every sound is ready") << "sounds done" << Fixtures::pal25Mp4(10);
    }

    // Nothing of the stopped movies stays: no base.mpg (not even an older
    // one), no intermediate file, and the marker still says stale.
    void stopDuringTheFirstMovie()
    {
        QFETCH(QString, when);
        QFETCH(QString, firstMovie);
        QTemporaryDir project;
        QTemporaryDir movies;
        const QString first = copyAs(firstMovie, movies.path(), QStringLiteral("first.mp4"));
        const QString second = copyAs(Fixtures::mjpegPcmAvi(), movies.path(), QStringLiteral("second.avi"));
        QFile older(project.filePath(QStringLiteral("first.mpg")));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("an older conversion");
        older.close();
        markMPEGsStale(project.path());

        ConversionJob job(project.path(), vcdNTSC());
        bool secondSoundReady = false;
        if (when == QLatin1String("sound"))
            connect(&job, &ConversionJob::extractAudioProgressChanged, &job, &ConversionJob::stop);
        else if (when == QLatin1String("picture"))
            connect(&job, &ConversionJob::convertVideoProgressChanged, &job, [&job](int percent) {
                if (percent >= 5)
                    job.stop();
            });
        else
            connect(&job, &ConversionJob::audioMovieChanged, &job, [&](const QString &name) {
                if (name.isEmpty()) {
                    secondSoundReady = QFileInfo(project.filePath(QStringLiteral("second.mp2"))).size() > 0;
                    job.stop();
                }
            });
        const ConversionReport report = job.run({ first, second });
        QVERIFY(report.stopped);
        QVERIFY(report.converted.isEmpty());
        QCOMPARE(filesIn(project.path()), QStringList { QStringLiteral("Kestrin.invalidmpegs") });
        QVERIFY(!linksLeft());
        if (when == QLatin1String("sounds done"))
            QVERIFY(secondSoundReady);
    }

    // The same movie twice in the tree is converted once; afterwards it is
    // up to date until it changes or the settings make it stale.
    void convertsOnlyWhatIsStale()
    {
        QTemporaryDir project;
        QTemporaryDir movies;
        const QString movie = copyAs(Fixtures::mpeg1Mp2Mpg(), movies.path(), QStringLiteral("clip.mpg"));
        const QStringList media { movie, movie };
        const QStringList workList = MovieSelection::select(media, project.path()).workList;
        QCOMPARE(workList, QStringList { movie });
        ConversionJob job(project.path(), vcdNTSC());
        const ConversionReport report = job.run(workList);
        QCOMPARE(report.converted, QStringList { movie });
        const QString mpg = project.filePath(QStringLiteral("clip.mpg"));
        QVERIFY(QFileInfo(mpg).size() > 0);

        QVERIFY(MovieSelection::select(media, project.path()).workList.isEmpty());
        markMPEGsStale(project.path());
        QCOMPARE(MovieSelection::select(media, project.path()).workList, QStringList { movie });
        Preferences::setValidMPEGs(project.path());
        setTime(mpg, 1700000000);
        setTime(movie, 1700000001);
        QCOMPARE(MovieSelection::select(media, project.path()).workList, QStringList { movie });
    }

    // Movies that cannot be converted are named with the reason, leave no
    // base.mpg, and keep the marker; the others are converted all the same.
    void failedMoviesAreReported()
    {
        QTemporaryDir project;
        QTemporaryDir movies;
        const QString notAMovie = movies.filePath(QStringLiteral("notes.mov"));
        QFile notes(notAMovie);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("just some words\n");
        notes.close();
        const QString soundOnly = Fixtures::soundOnlyM4a();
        const QString good = Fixtures::noSoundMp4();
        markMPEGsStale(project.path());

        ConversionJob job(project.path(), vcdNTSC());
        const ConversionReport report = job.run({ notAMovie, soundOnly, good });
        QVERIFY(!report.succeeded());
        QVERIFY(!report.stopped);
        QCOMPARE(report.converted, QStringList { good });
        QCOMPARE(report.failures.size(), 2);
        QCOMPARE(report.failures[0].movie, notAMovie);
        QCOMPARE(report.failures[1].movie, soundOnly);
        QVERIFY(report.failures[1].reason.contains(QStringLiteral("no picture")));
        QVERIFY(report.failureText().contains(QStringLiteral("notes.mov")));
        QCOMPARE(filesIn(project.path()),
            QStringList({ QStringLiteral("Kestrin.invalidmpegs"), QStringLiteral("nosound.mpg") }));
    }

    void anEmptyWorkListEndsAtOnce()
    {
        QTemporaryDir project;
        markMPEGsStale(project.path());
        ConversionJob job(project.path(), vcdNTSC());
        QSignalSpy finished(&job, &ConversionJob::finished);
        QVERIFY(job.run({}).succeeded());
        QCOMPARE(finished.size(), 1);
        QVERIFY(!Preferences::getValidMPEGs(project.path()));
    }
};

QTEST_GUILESS_MAIN(TestConversionJob)
#include "tst_conversionjob.moc"
