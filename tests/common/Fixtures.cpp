#include "common/Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QUuid>

QString Fixtures::folder()
{
    const QString path = QStringLiteral(KESTRIN_FIXTURE_DIR);
    QDir().mkpath(path);
    return path;
}

QString Fixtures::make(const QString &name, const QStringList &arguments)
{
    const QString target = folder() + QLatin1Char('/') + name;
    if (QFileInfo(target).size() > 0)
        return target;
    const QString suffix = QFileInfo(name).suffix();
    const QString partial = folder() + QStringLiteral("/.partial-")
        + QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char('.') + suffix;
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
        QStringList { QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
            QStringLiteral("-nostdin"), QStringLiteral("-y") }
            + arguments + QStringList { partial });
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg could not make %s: %s", qPrintable(name), ffmpeg.readAll().constData());
        QFile::remove(partial);
        return {};
    }
    if (!QFileInfo::exists(target) && !QFile::rename(partial, target))
        QFile::remove(partial);
    QFile::remove(partial);
    return target;
}

namespace {

QStringList testPicture(const QString &size, const QString &rate, const QString &duration = QStringLiteral("2"))
{
    return { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("testsrc2=size=%1:rate=%2:duration=%3").arg(size, rate, duration) };
}

QStringList tone(const QString &duration = QStringLiteral("2"))
{
    return { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(duration) };
}

QStringList args(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QString Fixtures::h264AacMov()
{
    return make(QStringLiteral("h264_aac.mov"),
        testPicture(QStringLiteral("640x360"), QStringLiteral("30")) + tone()
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2 -shortest"));
}

QString Fixtures::h264AacMp4()
{
    return make(QStringLiteral("h264_aac.mp4"),
        testPicture(QStringLiteral("640x360"), QStringLiteral("30")) + tone()
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2 -shortest"));
}

QString Fixtures::mpeg1Mp2Mpg()
{
    return make(QStringLiteral("mpeg1_mp2.mpg"),
        testPicture(QStringLiteral("352x240"), QStringLiteral("30000/1001")) + tone()
            + args("-c:v mpeg1video -b:v 1150k -c:a mp2 -b:a 224k -ar 44100 -ac 2 -f mpeg -shortest"));
}

QString Fixtures::mjpegPcmAvi()
{
    return make(QStringLiteral("mjpeg_pcm.avi"),
        testPicture(QStringLiteral("320x240"), QStringLiteral("25")) + tone()
            + args("-c:v mjpeg -q:v 5 -c:a pcm_s16le -ac 1 -shortest"));
}

QString Fixtures::noSoundMp4()
{
    return make(QStringLiteral("nosound.mp4"),
        testPicture(QStringLiteral("640x360"), QStringLiteral("30"))
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -an"));
}

QString Fixtures::soundOnlyM4a()
{
    return make(QStringLiteral("soundonly.m4a"), tone() + args("-c:a aac -ac 2"));
}

QString Fixtures::probe(const QString &file, const QString &entry, const QString &streams)
{
    QStringList arguments { QStringLiteral("-v"), QStringLiteral("error") };
    if (!streams.isEmpty())
        arguments << QStringLiteral("-select_streams") << streams;
    arguments << QStringLiteral("-show_entries") << entry << QStringLiteral("-of")
              << QStringLiteral("default=noprint_wrappers=1:nokey=1") << file;
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"), arguments);
    ffprobe.waitForFinished(60000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}
