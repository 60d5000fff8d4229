#include "movtoy4m/VideoConversion.h"

#include "movtoy4m/OutputFormat.h"
#include "movtoy4m/VideoOutput.h"
#include "platform/Movie.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kAspect1 = 4;
constexpr int kAspect2 = 3;

} // namespace

QString VideoConversion::streamPath(const QString& moviePath, const QString& projectFolder, bool formatVCD)
{
    const QString base = QFileInfo(moviePath).completeBaseName();
    return QDir(projectFolder).filePath(base + (formatVCD ? QStringLiteral(".m1v") : QStringLiteral(".m2v")));
}

VideoResult VideoConversion::convertVideo(
    const QString& moviePath, const QString& projectFolder, const VideoSettings& settings, const Hooks& hooks)
{
    const OutputFormat format = OutputFormat::forSettings(settings);
    if (hooks.waitForAudio)
        hooks.waitForAudio();

    QString error;
    const std::unique_ptr<Movie> movie = Movie::open(moviePath, &error);
    if (!movie)
        return VideoResult::failed(error);
    if (!movie->hasVisual())
        return { VideoResult::Status::NoVisualTrack, {} };

    VideoOutput output(*movie);
    output.setVCD(settings.formatVCD, settings.formatPAL, settings.effectiveBitRate(), settings.quality,
        settings.lightness, settings.tvSafe, settings.interlaced);
    output.setWidth(format.width, format.height, format.rate1, format.rate2, kAspect1, kAspect2);
    output.setDstFile(streamPath(moviePath, projectFolder, settings.formatVCD));
    output.setProgressHandler(hooks.progress);
    output.setStopFlag(hooks.stop);
    return output.convert();
}
