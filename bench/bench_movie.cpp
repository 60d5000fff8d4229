// Speed and memory of the movie service:
//  - rendering a 640x360 H.264 movie frame by frame at its own size, on one core;
//  - opening movies and totalling their durations, as the media tree does;
//  - peak memory while rendering and exporting a short and a 30-minute movie.
#include "common/Fixtures.h"
#include "platform/Movie.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sched.h>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QString encodedMovie(const QString& name, const QString& size, int seconds, const QString& quality)
{
    const QString length = QString::number(seconds);
    return Fixtures::make(name,
        { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc2=size=%1:rate=30:duration=%2").arg(size, length), QStringLiteral("-f"),
            QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(length), QStringLiteral("-c:v"),
            QStringLiteral("libx264"), QStringLiteral("-preset"), QStringLiteral("veryfast"), QStringLiteral("-crf"),
            quality, QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), QStringLiteral("-c:a"),
            QStringLiteral("aac"), QStringLiteral("-b:a"), QStringLiteral("96k"), QStringLiteral("-ac"),
            QStringLiteral("2") });
}

// A figure in kB from /proc/self/status: "VmHWM:" (peak since the last reset) or "VmRSS:".
long statusKb(const QByteArray& key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

long peakResidentKb()
{
    return statusKb("VmHWM:");
}

void resetPeakResident()
{
    // Writing 5 to clear_refs sets the peak back to the current size.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void pinToOneCore()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(0, &set);
    if (sched_setaffinity(0, sizeof(set), &set) != 0)
        std::printf("could not pin to one core; figures use all cores\n");
}

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

struct RenderFigures {
    int frames = 0;
    double perSecond = 0; // wall clock
    double perCpuSecond = 0; // unaffected by other work on the machine
};

// Renders every frame at the given frame rate, at the movie's own size.
RenderFigures renderAllFrames(Movie& movie, double framesPerSecond)
{
    const QSize size = movie.movieBox().size();
    std::vector<uint32_t> pixels(size_t(size.width()) * size.height());
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = processCpuSeconds();
    RenderFigures figures;
    for (int k = 0;; ++k) {
        const int64_t time = int64_t(std::ceil(k / framesPerSecond * Movie::kTimeScale));
        if (time >= movie.duration())
            break;
        movie.renderFrame(time, pixels.data(), size.width() * 4);
        ++figures.frames;
    }
    figures.perSecond = figures.frames / (timer.nsecsElapsed() / 1e9);
    figures.perCpuSecond = figures.frames / (processCpuSeconds() - cpuStart);
    return figures;
}

void benchRendering(const QString& path)
{
    std::unique_ptr<Movie> movie = Movie::open(path);
    if (!movie) {
        std::printf("rendering: no movie\n");
        return;
    }
    const RenderFigures figures = renderAllFrames(*movie, 30);
    std::printf("rendering 640x360 H.264 at its own size, one core: %d frames, %.0f frames/s, %.0f frames per CPU "
                "second (target 400)\n",
        figures.frames, figures.perSecond, figures.perCpuSecond);
}

void benchOpening()
{
    const QStringList movies { Fixtures::h264AacMov(), Fixtures::h264AacMp4(), Fixtures::mpeg1Mp2Mpg(),
        Fixtures::mjpegPcmAvi(), Fixtures::noSoundMp4() };
    constexpr int kMovies = 500;
    QElapsedTimer timer;
    timer.start();
    int64_t seconds = 0;
    for (int i = 0; i < kMovies; ++i) {
        if (std::unique_ptr<Movie> movie = Movie::open(movies[i % movies.size()]))
            seconds += movie->duration() / movie->timeScale();
    }
    std::printf("opening %d movies (mov, mp4, mpg, avi) and totalling %lld s: %.0f ms (target 2000)\n", kMovies,
        static_cast<long long>(seconds), timer.nsecsElapsed() / 1e6);
}

void benchMemory(const QString& label, const QString& path)
{
    const long beforeOpening = statusKb("VmRSS:");
    std::unique_ptr<Movie> movie = Movie::open(path);
    if (!movie) {
        std::printf("%s: no movie\n", qPrintable(label));
        return;
    }
    const long opened = statusKb("VmRSS:");
    resetPeakResident();
    const RenderFigures figures = renderAllFrames(*movie, 30000.0 / 1001);
    const long rendering = peakResidentKb();

    resetPeakResident();
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    const Movie::ExportResult result = movie->exportSound(dir.filePath(QStringLiteral("sound.wav")), {});
    const double exportSeconds = timer.nsecsElapsed() / 1e9;
    const long exporting = peakResidentKb();
    std::printf("%s (%lld s): open holds %ld kB; rendering %d frames at %.0f frames/s peaks %ld kB above that; "
                "sound export %s in %.1f s peaks %ld kB above it (process peak %ld kB)\n",
        qPrintable(label), static_cast<long long>(movie->duration() / movie->timeScale()), opened - beforeOpening,
        figures.frames, figures.perSecond, rendering - opened, result == Movie::ExportResult::Done ? "done" : "FAILED",
        exportSeconds, exporting - opened, std::max(rendering, exporting));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    std::printf("making the movies (kept for later runs)...\n");
    std::fflush(stdout);
    const QString renderedMovie
        = encodedMovie(QStringLiteral("bench_640x360.mp4"), QStringLiteral("640x360"), 20, QStringLiteral("23"));
    const QString shortMovie
        = encodedMovie(QStringLiteral("bench_short_320x180.mp4"), QStringLiteral("320x180"), 30, QStringLiteral("35"));
    const QString longMovie
        = encodedMovie(QStringLiteral("bench_long_320x180.mp4"), QStringLiteral("320x180"), 1800, QStringLiteral("35"));
    pinToOneCore();
    benchRendering(renderedMovie);
    benchOpening();
    benchMemory(QStringLiteral("30-second movie"), shortMovie);
    benchMemory(QStringLiteral("30-minute movie"), longMovie);
    return 0;
}
