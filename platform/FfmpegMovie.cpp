#include "platform/FfmpegMovie.h"

#include "platform/MovieFile.h"
#include "platform/SoundExporter.h"
#include "platform/VideoDecoder.h"

extern "C" {
#include <libavutil/display.h>
}

#include <QFile>

#include <cmath>

namespace {

constexpr AVRational kMovieTimeBase { 1, Movie::kTimeScale };

// The recorded display rotation as a counter-clockwise quarter turn count in
// degrees; mirrored or skewed matrices are shown unturned.
int rotationOf(const AVStream* stream)
{
    const auto* matrix
        = reinterpret_cast<const int32_t*>(av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (!matrix)
        return 0;
    const double angle = av_display_rotation_get(matrix);
    if (std::isnan(angle))
        return 0;
    const int quarter = int(std::lround(angle / 90.0));
    if (std::abs(angle - quarter * 90.0) > 1.0)
        return 0;
    return ((quarter % 4) + 4) % 4 * 90;
}

} // namespace

FfmpegMovie::FfmpegMovie(std::unique_ptr<MovieFile> file)
    : mFile(std::move(file))
{
    mSoundStream = mFile->firstEnabledStream(AVMEDIA_TYPE_AUDIO);
    mVisualStream = mFile->firstEnabledStream(AVMEDIA_TYPE_VIDEO);
    measurePicture();
    mMovieBox = QRect(QPoint(0, 0), mNaturalSize);
}

FfmpegMovie::~FfmpegMovie() = default;

std::unique_ptr<FfmpegMovie> FfmpegMovie::open(const QString& path, QString* error)
{
    std::unique_ptr<MovieFile> file = MovieFile::open(path, error);
    if (!file)
        return nullptr;
    return std::unique_ptr<FfmpegMovie>(new FfmpegMovie(std::move(file)));
}

void FfmpegMovie::measurePicture()
{
    if (mVisualStream < 0)
        return;
    AVStream* stream = mFile->stream(mVisualStream);
    const int width = stream->codecpar->width;
    const int height = stream->codecpar->height;
    if (width <= 0 || height <= 0)
        return;
    const AVRational aspect = av_guess_sample_aspect_ratio(mFile->context(), stream, nullptr);
    int shownWidth = width;
    if (aspect.num > 0 && aspect.den > 0)
        shownWidth = int(std::max<int64_t>(1, av_rescale(width, aspect.num, aspect.den)));
    mRotation = rotationOf(stream);
    mNaturalSize = QSize(shownWidth, height);
    if (mRotation == 90 || mRotation == 270)
        mNaturalSize.transpose();
}

int64_t FfmpegMovie::duration() const
{
    return av_rescale_q_rnd(mFile->duration(), AV_TIME_BASE_Q, kMovieTimeBase, AV_ROUND_DOWN);
}

bool FfmpegMovie::startDecoder()
{
    if (!mDecoder && !mDecoderFailed && mVisualStream >= 0) {
        mFile->readOnly(mVisualStream);
        if (mFile->rewind())
            mDecoder = VideoDecoder::create(mFile.get(), mVisualStream);
        mDecoderFailed = !mDecoder;
    }
    return mDecoder != nullptr;
}

int64_t FfmpegMovie::streamTime(int64_t time) const
{
    const AVRational base = mFile->stream(mVisualStream)->time_base;
    return av_rescale_q(mFile->startTime(), AV_TIME_BASE_Q, base) + av_rescale_q(time, kMovieTimeBase, base);
}

bool FfmpegMovie::renderFrame(int64_t time, uint32_t* pixels, int bytesPerLine)
{
    if (!startDecoder())
        return false;
    const AVFrame* picture = mDecoder->pictureAt(streamTime(time));
    return picture && mScaler.draw(picture, mRotation, mMovieBox.size(), pixels, bytesPerLine);
}

int FfmpegMovie::seekCount() const
{
    return mDecoder ? mDecoder->seekCount() : 0;
}

Movie::ExportResult FfmpegMovie::exportSound(
    const QString& wavPath, const std::function<bool(int percent)>& progress, QString* error)
{
    // A file left at the path by an earlier export must not pass for this movie's sound.
    QFile::remove(wavPath);
    if (mSoundStream < 0)
        return ExportResult::NoSound;
    // The export reads the movie from its start; rendering starts over afterwards.
    mDecoder.reset();
    SoundExporter exporter(mFile.get());
    return exporter.run(wavPath, progress, error);
}
