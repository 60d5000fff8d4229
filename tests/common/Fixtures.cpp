#include "common/Fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTest>
#include <QUuid>

#include <functional>

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

QString Fixtures::ntscVcdMpg()
{
    return make(QStringLiteral("ntsc_vcd.mpg"),
        testPicture(QStringLiteral("352x240"), QStringLiteral("30000/1001")) + tone()
            + args("-ar 44100 -target ntsc-vcd -shortest"));
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

namespace {

QStringList colourPhases(const QString& size, const QString& rate)
{
    // Boxes over a red picture: lime from 1 s, blue from 2 s.
    return { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
        QStringLiteral("color=c=red:s=%1:r=%2:d=3,"
                       "drawbox=x=0:y=0:w=iw:h=ih:color=lime:t=fill:enable='between(t,1,2)',"
                       "drawbox=x=0:y=0:w=iw:h=ih:color=blue:t=fill:enable='gte(t,2)'")
            .arg(size, rate) };
}

// A copy of `source` named `name` with `change` applied to its bytes.
QString alteredCopy(const QString& source, const QString& name, const std::function<void(QByteArray&)>& change)
{
    const QString target = Fixtures::folder() + QLatin1Char('/') + name;
    if (source.isEmpty())
        return {};
    if (QFileInfo(target).size() > 0)
        return target;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = in.readAll();
    change(bytes);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return {};
    return target;
}

QString damagedCopy(const QString& source, const QString& name)
{
    return alteredCopy(source, name, [](QByteArray& bytes) {
        QRandomGenerator random(7);
        const qsizetype from = bytes.size() * 45 / 100;
        for (qsizetype i = from; i < from + bytes.size() / 10; ++i)
            bytes[i] = char(random.generate());
    });
}

} // namespace

QString Fixtures::colourPhasesMp4()
{
    return make(QStringLiteral("phases.mp4"),
        colourPhases(QStringLiteral("320x240"), QStringLiteral("30"))
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 30"));
}

QString Fixtures::colourPhasesMpg()
{
    return make(QStringLiteral("phases.mpg"),
        colourPhases(QStringLiteral("352x240"), QStringLiteral("30000/1001"))
            + args("-c:v mpeg1video -b:v 1150k -g 15 -f mpeg"));
}

QString Fixtures::colourPhasesAvi()
{
    return make(QStringLiteral("phases.avi"),
        colourPhases(QStringLiteral("320x240"), QStringLiteral("25")) + args("-c:v mjpeg -q:v 3"));
}

QString Fixtures::anamorphicMov()
{
    return make(QStringLiteral("anamorphic.mov"),
        testPicture(QStringLiteral("720x480"), QStringLiteral("30000/1001"), QStringLiteral("1"))
            + args("-vf setsar=32/27 -c:v libx264 -preset ultrafast -pix_fmt yuv420p"));
}

QString Fixtures::cornerMarkMp4(int rotateTag)
{
    const QString plain = make(QStringLiteral("cornermark.mp4"),
        QStringList { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("color=c=black:s=320x180:r=30:d=1,drawbox=x=0:y=0:w=160:h=90:color=red:t=fill") }
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p"));
    if (rotateTag == 0 || plain.isEmpty())
        return plain;
    return make(QStringLiteral("cornermark_rotate%1.mp4").arg(rotateTag),
        QStringList { QStringLiteral("-i"), plain, QStringLiteral("-c"), QStringLiteral("copy"),
            QStringLiteral("-metadata:s:v:0"), QStringLiteral("rotate=%1").arg(rotateTag) });
}

QString Fixtures::soundWithCoverArtMp4()
{
    return make(QStringLiteral("sound_cover.mp4"),
        tone()
            + args("-f lavfi -i color=c=yellow:s=300x300:d=0.04 -map 0 -map 1 -c:a aac -ac 2 -c:v mjpeg "
                   "-frames:v 1 -disposition:v attached_pic"));
}

QString Fixtures::disabledSoundMov()
{
    return alteredCopy(h264AacMov(), QStringLiteral("disabled_sound.mov"), [](QByteArray& bytes) {
        // The second track header is the sound's; bit 0 of its flags enables the track.
        const qsizetype first = bytes.indexOf("tkhd");
        const qsizetype second = first < 0 ? -1 : bytes.indexOf("tkhd", first + 4);
        if (second >= 0)
            bytes[second + 7] = char(bytes[second + 7] & ~1);
    });
}

QString Fixtures::truncatedMp4(int percent)
{
    const QString whole = make(QStringLiteral("faststart.mp4"),
        testPicture(QStringLiteral("320x240"), QStringLiteral("30")) + tone()
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2 -shortest -movflags +faststart"));
    return alteredCopy(whole, QStringLiteral("truncated%1.mp4").arg(percent),
        [percent](QByteArray& bytes) { bytes.truncate(bytes.size() * percent / 100); });
}

QString Fixtures::damagedMpg()
{
    return damagedCopy(colourPhasesMpg(), QStringLiteral("damaged.mpg"));
}

QString Fixtures::damagedMp4()
{
    return damagedCopy(colourPhasesMp4(), QStringLiteral("damaged.mp4"));
}

QString Fixtures::damagedAvi()
{
    return damagedCopy(colourPhasesAvi(), QStringLiteral("damaged.avi"));
}

QString Fixtures::pal25Mp4(int seconds)
{
    return make(QStringLiteral("pal25_%1s.mp4").arg(seconds),
        testPicture(QStringLiteral("320x240"), QStringLiteral("25"), QString::number(seconds))
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -an"));
}

QString Fixtures::plainColourMp4(const QString &colour)
{
    return make(QStringLiteral("colour_%1.mp4").arg(colour),
        QStringList { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("color=c=%1:size=640x360:rate=30:duration=1").arg(colour) }
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -an"));
}

QString Fixtures::zeroDurationMp4()
{
    return make(QStringLiteral("zero_duration.mp4"),
        testPicture(QStringLiteral("320x240"), QStringLiteral("5000"))
            + args("-frames:v 1 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -movie_timescale 100000 -an"));
}

QString Fixtures::ntscSvcdMpg()
{
    return make(QStringLiteral("ntsc_svcd.mpg"),
        testPicture(QStringLiteral("480x480"), QStringLiteral("30000/1001"), QStringLiteral("1"))
            + tone(QStringLiteral("1")) + args("-ar 44100 -target ntsc-svcd -shortest"));
}

QString Fixtures::tinyClip(const QString &seconds)
{
    return make(QStringLiteral("tiny_%1s.mp4").arg(seconds),
        testPicture(QStringLiteral("64x48"), QStringLiteral("10"), seconds)
            + args("-c:v libx264 -preset ultrafast -pix_fmt yuv420p -an"));
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
