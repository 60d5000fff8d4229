// Converting three 30-second movies to VCD: Kestrin's conversion (audio and
// video workers overlapping) against the bare shell pipeline with the same
// options, run one movie and one step after another. Prints its figures.
//
//   cmake --build build --target bench_convert && build/bin/bench_convert [rounds]

#include "BenchTiming.h"
#include "common/Fixtures.h"
#include "conversion/ConversionJob.h"
#include "conversion/Multiplexer.h"
#include "movtoy4m/EncoderCommand.h"
#include "movtoy4m/VideoOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kVCDRate = 1152;
constexpr int kQuality = 100;

using BenchTiming::Timing;
using BenchTiming::timed;

QStringList benchMovies()
{
    QStringList movies;
    const char *sources[] = { "testsrc2", "smptebars", "testsrc" };
    for (const char *source : sources) {
        movies << Fixtures::make(QStringLiteral("bench_%1_640x360_30s.mp4").arg(QString::fromLatin1(source)),
            QStringLiteral("-f lavfi -i %1=size=640x360:rate=30:duration=30 "
                           "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 "
                           "-c:v libx264 -pix_fmt yuv420p -c:a aac -ac 2 -shortest")
                .arg(QString::fromLatin1(source))
                .split(QLatin1Char(' ')));
        if (movies.last().isEmpty())
            return {};
    }
    return movies;
}

ConversionSettings vcdSettings()
{
    ConversionSettings settings;
    settings.video.formatVCD = true;
    settings.video.bitRate = kVCDRate;
    settings.video.quality = kQuality;
    return settings;
}

Timing kestrin(const QStringList &movies)
{
    QTemporaryDir project;
    ConversionJob job(project.path(), vcdSettings());
    ConversionReport report;
    const Timing timing = timed([&] { report = job.run(movies); });
    if (!report.succeeded())
        std::printf("  Kestrin's conversion failed: %s\n", qPrintable(report.failureText()));
    return timing;
}

// One movie, each step after the other: the picture through ffmpeg into
// mpeg2enc (scaled into the rows Kestrin puts a 16:9 picture in), the sound
// to a WAV and through mp2enc, then mplex.
QStringList barePipeline(const QString &movie, const QString &folder)
{
    const QString video = QDir(folder).filePath(QStringLiteral("bare.m1v"));
    const QString wav = QDir(folder).filePath(QStringLiteral("bare.wav"));
    const QString audio = QDir(folder).filePath(QStringLiteral("bare.mp2"));
    const QString output = QDir(folder).filePath(QStringLiteral("bare.mpg"));
    QString script = QStringLiteral(
        "ffmpeg -v error -nostdin -i \"$1\" -an -vf scale=352:180:flags=bicubic,pad=352:240:0:30 -r 30000/1001 "
        "-pix_fmt yuv420p -f yuv4mpegpipe - | mpeg2enc");
    for (const QString &argument : EncoderCommand::arguments(true, kVCDRate, kQuality, false, video))
        script += QStringLiteral(" '") + argument + QLatin1Char('\'');
    script += QStringLiteral(" && ffmpeg -v error -nostdin -y -i \"$1\" -vn -ac 2 -ar 44100 -c:a pcm_s16le \"$2\""
                             " && mp2enc -V -o \"$3\" -v 0 < \"$2\" && mplex");
    for (const QString &argument :
        Multiplexer::arguments(Multiplexer::formatCode(true, false, kVCDRate), output, video, audio))
        script += QStringLiteral(" '") + argument + QLatin1Char('\'');
    return { QStringLiteral("-c"), script, QStringLiteral("bench"), movie, wav, audio };
}

Timing bare(const QStringList &movies)
{
    QTemporaryDir folder;
    return timed([&] {
        for (const QString &movie : movies) {
            QProcess shell;
            shell.setProcessChannelMode(QProcess::ForwardedChannels);
            shell.start(QStringLiteral("bash"), barePipeline(movie, folder.path()));
            shell.waitForFinished(-1);
            if (shell.exitCode() != 0)
                std::printf("  the bare pipeline failed on %s\n", qPrintable(movie));
        }
    });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 2;
    VideoOutput::initialize();
    const QStringList movies = benchMovies();
    if (movies.isEmpty())
        return 1;

    std::printf("Three 30 s movies (640x360 H.264 + AAC) to VCD, quality 100, 1152 kbit/s "
                "(target Kestrin <= 1.10 x bare)\n");
    std::vector<double> ours, theirs, ratios, processorRatios;
    for (int round = 0; round < rounds; ++round) {
        // Alternate the order so that neither side always runs on a warmer machine.
        Timing kestrinTiming, bareTiming;
        if (round % 2 == 0) {
            kestrinTiming = kestrin(movies);
            bareTiming = bare(movies);
        } else {
            bareTiming = bare(movies);
            kestrinTiming = kestrin(movies);
        }
        ours.push_back(kestrinTiming.wall);
        theirs.push_back(bareTiming.wall);
        ratios.push_back(kestrinTiming.wall / bareTiming.wall);
        processorRatios.push_back(kestrinTiming.processor / bareTiming.processor);
        std::printf("  round %d: Kestrin %.2f s (processor %.2f s), bare pipeline %.2f s (processor %.2f s), "
                    "ratio %.3f\n",
            round + 1, kestrinTiming.wall, kestrinTiming.processor, bareTiming.wall, bareTiming.processor,
            ratios.back());
    }
    std::printf("  median: Kestrin %.2f s, bare %.2f s, ratio %.3f (processor time ratio %.3f)\n", median(ours),
        median(theirs), median(ratios), median(processorRatios));
    return 0;
}
