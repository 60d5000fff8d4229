// The video frame path and the whole video encode, against the bare
// ffmpeg | mpeg2enc pipeline with the same options. Prints its figures.
//
//   cmake --build build --target bench_frames && build/bin/bench_frames

#include "BenchTiming.h"
#include "common/Fixtures.h"
#include "movtoy4m/EncoderCommand.h"
#include "movtoy4m/VideoConversion.h"
#include "movtoy4m/VideoOutput.h"
#include "platform/Movie.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRounds = 3;

using BenchTiming::Timing;
using BenchTiming::timed;

QString benchMovie()
{
    // 20 s of 640x360 H.264 (x264's default preset: B-frames, CABAC) at 30 fps.
    return Fixtures::make(QStringLiteral("bench_h264_640x360_20s.mp4"),
        QString::fromLatin1("-f lavfi -i testsrc2=size=640x360:rate=30:duration=20 -c:v libx264 -pix_fmt yuv420p -an")
            .split(QLatin1Char(' ')));
}

struct FrameRun {
    double seconds = 0;
    int records = 0;
};

// Render, place, colour-convert and write every frame to /dev/null.
FrameRun framePath(const QString& moviePath, bool vcd)
{
    const std::unique_ptr<Movie> movie = Movie::open(moviePath);
    const int devNull = ::open("/dev/null", O_WRONLY);
    FrameRun run;
    QElapsedTimer timer;
    timer.start();
    VideoOutput output(*movie);
    output.setVCD(vcd, !vcd, vcd ? 1152 : 2500, 100, 0, false, false);
    if (vcd)
        output.setWidth(352, 240, 30000, 1001, 4, 3);
    else
        output.setWidth(480, 576, 25, 1, 4, 3);
    output.writeStream([&](const char* data, qint64 size) {
        ++run.records;
        return ::write(devNull, data, size_t(size)) == size;
    });
    run.seconds = timer.nsecsElapsed() / 1e9;
    --run.records; // the header
    ::close(devNull);
    return run;
}

Timing kestrinEncode(const QString& moviePath, const QString& folder)
{
    VideoSettings settings;
    settings.bitRate = 1152;
    VideoResult result;
    const Timing timing = timed([&] { result = VideoConversion::convertVideo(moviePath, folder, settings, {}); });
    if (!result.succeeded())
        std::printf("  Kestrin's encode failed: %s\n", qPrintable(result.error));
    return timing;
}

// ffmpeg scales the 16:9 picture into the same rows Kestrin puts it in.
Timing bareEncode(const QString& moviePath, const QString& folder)
{
    return timed([&] {
        QProcess decoder;
        QProcess encoder;
        decoder.setStandardOutputProcess(&encoder);
        decoder.setStandardErrorFile(QProcess::nullDevice());
        encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        decoder.start(QStringLiteral("ffmpeg"),
            { QStringLiteral("-nostdin"), QStringLiteral("-i"), moviePath, QStringLiteral("-an"), QStringLiteral("-vf"),
                QStringLiteral("scale=352:180:flags=bicubic,pad=352:240:0:30"), QStringLiteral("-r"),
                QStringLiteral("30000/1001"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                QStringLiteral("-f"), QStringLiteral("yuv4mpegpipe"), QStringLiteral("-") });
        encoder.start(QStringLiteral("mpeg2enc"),
            EncoderCommand::arguments(true, 1152, 100, false, QDir(folder).filePath(QStringLiteral("bare.m1v"))));
        decoder.waitForFinished(-1);
        encoder.waitForFinished(-1);
    });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    VideoOutput::initialize();
    const QString movie = benchMovie();
    if (movie.isEmpty())
        return 1;

    std::printf("Frame path without the encoder, 640x360 H.264, 20 s, to /dev/null (target >= 300 frames/s VCD)\n");
    for (bool vcd : { true, false }) {
        std::vector<double> rates;
        int records = 0;
        for (int round = 0; round < kRounds; ++round) {
            const FrameRun run = framePath(movie, vcd);
            records = run.records;
            rates.push_back(run.records / run.seconds);
        }
        std::printf("  %-13s %d frames, median %.0f frames/s (best %.0f)\n", vcd ? "VCD NTSC" : "SVCD PAL", records,
            median(rates), *std::max_element(rates.begin(), rates.end()));
    }

    std::printf("VCD encode of the same movie, quality 100, 1152 kbit/s (target Kestrin <= 1.10 x bare)\n");
    QTemporaryDir folder;
    std::vector<double> kestrin, bare, ratios;
    for (int round = 0; round < kRounds; ++round) {
        // Alternate the order so that neither side always runs on a warmer machine.
        Timing ours, theirs;
        if (round % 2 == 0) {
            ours = kestrinEncode(movie, folder.path());
            theirs = bareEncode(movie, folder.path());
        } else {
            theirs = bareEncode(movie, folder.path());
            ours = kestrinEncode(movie, folder.path());
        }
        kestrin.push_back(ours.wall);
        bare.push_back(theirs.wall);
        ratios.push_back(ours.wall / theirs.wall);
        std::printf("  round %d: Kestrin %.2f s (processor %.2f s), bare pipeline %.2f s (processor %.2f s), "
                    "ratio %.3f\n",
            round + 1, ours.wall, ours.processor, theirs.wall, theirs.processor, ratios.back());
    }
    std::printf("  median: Kestrin %.2f s, bare %.2f s, ratio %.3f\n", median(kestrin), median(bare), median(ratios));
    return 0;
}
