#include "movtoy4m/VideoOutput.h"

#include "movtoy4m/ColourConverter.h"
#include "movtoy4m/EncoderCommand.h"
#include "platform/Movie.h"
#include "platform/PrivateTempDir.h"
#include "platform/ToolProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr uint32_t kOpaqueBlack = 0xff000000u;
const QString kLinkName = QStringLiteral("KestrinMPGVideo");

QString tr(const char* text)
{
    return QCoreApplication::translate("VideoOutput", text);
}

std::unique_ptr<uint32_t[]> blackPixels(qint64 count)
{
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[size_t(count)]);
    if (pixels)
        std::fill_n(pixels.get(), count, kOpaqueBlack);
    return pixels;
}

// A stream counts only when the encoder said it succeeded and left a file.
VideoResult judged(const VideoResult& streamed, const ToolProcess::Result& encoder, const QString& outputPath)
{
    if (!encoder.started)
        return VideoResult::failed(encoder.error);
    if (!encoder.succeeded()) {
        const QString why = streamed.status == VideoResult::Status::Failed ? streamed.error : tr("The encoder failed.");
        return VideoResult::failed(why + QLatin1Char('\n') + encoder.lastLines(5));
    }
    if (streamed.succeeded() && QFileInfo(outputPath).size() == 0)
        return VideoResult::failed(tr("The encoder wrote nothing."));
    return streamed;
}

} // namespace

VideoOutput::VideoOutput(Movie& movie)
    : mMovie(movie)
    , mTimeScale(movie.timeScale())
    , mDuration(movie.duration())
{
}

VideoOutput::~VideoOutput()
{
    removeLink();
}

void VideoOutput::initialize()
{
    ColourConverter::initialize();
}

double VideoOutput::encodingRate(int rate1, int rate2)
{
    return double(float(rate1) / float(rate2));
}

int64_t VideoOutput::sampleTime(int frame, double encodingFPS, int timeScale)
{
    return int64_t(std::ceil((frame / encodingFPS) * timeScale));
}

void VideoOutput::setVCD(
    bool formatVCD, bool formatPAL, int bitRate, int quality, int lightness, bool tvSafe, bool interlaced)
{
    mFormatVCD = formatVCD;
    mFormatPAL = formatPAL;
    mBitRate = bitRate;
    mQuality = quality;
    mLightness = lightness;
    mTVSafe = tvSafe;
    mInterlaced = interlaced;
}

bool VideoOutput::setWidth(int width, int height, int rate1, int rate2, int aspect1, int aspect2)
{
    mFinalWidth = width;
    mFinalHeight = height;
    mFps1 = rate1;
    mFps2 = rate2;
    mEncodingFPS = rate1 > 0 && rate2 > 0 ? encodingRate(rate1, rate2) : 0;
    mScaledRect = FramePlacement::scaledRect(mMovie.naturalSize(), QSize(width, height), aspect1, aspect2, mTVSafe);
    buildLightenTable();
    mBuffersReady = setupOffscreen();
    return mBuffersReady;
}

bool VideoOutput::setupOffscreen()
{
    mScaledOffscreen.reset();
    mOffscreen.reset();
    mRowBytes = 0;
    if (!FrameRecord::usableSize(mFinalWidth, mFinalHeight) || mEncodingFPS <= 0)
        return false;
    mScaledOffscreen = blackPixels(qint64(mFinalWidth) * mFinalHeight);
    if (!mScaledOffscreen)
        return false;
    mRowBytes = mFinalWidth * int(sizeof(uint32_t));
    if (mLightness >= 2) {
        mOffscreen = blackPixels(qint64(mScaledRect.width()) * mScaledRect.height());
        if (!mOffscreen)
            return false;
    }
    if (!mRecord.allocate(mFinalWidth, mFinalHeight))
        return false;
    // A movie without frames still gives black ones.
    mRecord.fillBlack();
    if (!mScaledRect.isEmpty())
        mMovie.setMovieBox(QRect(0, 0, mScaledRect.width(), mScaledRect.height()));
    return true;
}

void VideoOutput::buildLightenTable()
{
    // The picture washed toward white by L/255: what a grey mask of level L
    // blends between the picture and a white background.
    const int level = mLightness % 256;
    for (int c = 0; c < 256; ++c)
        mLightenTable[c] = uint8_t((c * (255 - level) + 255 * level + 127) / 255);
}

uint32_t* VideoOutput::pictureOrigin()
{
    return mScaledOffscreen.get() + qint64(mScaledRect.top) * mFinalWidth + mScaledRect.left;
}

void VideoOutput::lightenInto(uint32_t* target)
{
    const int width = mScaledRect.width();
    const uint32_t* source = mOffscreen.get();
    for (int row = 0; row < mScaledRect.height(); ++row, source += width, target += mFinalWidth) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = source[x];
            target[x] = (p & 0xff000000u) | (uint32_t(mLightenTable[(p >> 16) & 0xff]) << 16)
                | (uint32_t(mLightenTable[(p >> 8) & 0xff]) << 8) | mLightenTable[p & 0xff];
        }
    }
}

VideoOutput::FrameResult VideoOutput::renderFrame(int frame)
{
    const int64_t time = sampleTime(frame, mEncodingFPS, mTimeScale);
    if (time >= mDuration)
        return FrameResult::MovieEnded;
    if (!mBuffersReady || mScaledRect.isEmpty())
        return FrameResult::NotDrawn;
    if (!mOffscreen)
        return mMovie.renderFrame(time, pictureOrigin(), mRowBytes) ? FrameResult::Drawn : FrameResult::NotDrawn;
    if (!mMovie.renderFrame(time, mOffscreen.get(), mScaledRect.width() * int(sizeof(uint32_t))))
        return FrameResult::NotDrawn;
    lightenInto(pictureOrigin());
    return FrameResult::Drawn;
}

VideoResult VideoOutput::buffersMissing() const
{
    return VideoResult::failed(
        tr("No frame buffers could be made for frames of %1 × %2 pixels.").arg(mFinalWidth).arg(mFinalHeight));
}

void VideoOutput::reportProgress(int64_t time)
{
    if (mProgress && mDuration > 0)
        mProgress(std::min(100.0, 100.0 * double(time) / double(mDuration)));
}

void VideoOutput::setProgressHandler(std::function<void(double percent)> handler)
{
    mProgress = std::move(handler);
}

void VideoOutput::setStopFlag(const std::atomic_bool* stop)
{
    mStop = stop;
}

VideoResult VideoOutput::writeStream(const StreamWriter& write)
{
    if (!mBuffersReady)
        return buffersMissing();
    const QString encoderGone = tr("The encoder stopped taking frames.");
    const QByteArray header = FrameRecord::streamHeader(mFinalWidth, mFinalHeight, mFps1, mFps2);
    if (!write(header.constData(), header.size()))
        return VideoResult::failed(encoderGone);

    VideoResult result = VideoResult::done();
    int padding = kMinimumFrames;
    int framesRendered = 0;
    bool anyDrawn = false;
    for (;; ++mCurrentFrame) {
        const FrameResult frame = renderFrame(mCurrentFrame);
        if (frame == FrameResult::MovieEnded)
            break;
        ++framesRendered;
        anyDrawn = anyDrawn || frame == FrameResult::Drawn;
        ColourConverter::convert(
            frameBits(), mRowBytes, mFinalWidth, mFinalHeight, mRecord.yPlane(), mRecord.cbPlane(), mRecord.crPlane());
        if (!write(mRecord.data(), mRecord.size()))
            return VideoResult::failed(encoderGone);
        if (padding > 0)
            --padding;
        reportProgress(sampleTime(mCurrentFrame, mEncodingFPS, mTimeScale));
        if (stopRequested()) {
            result.status = VideoResult::Status::Stopped;
            break;
        }
    }
    for (; padding > 0; --padding)
        if (!write(mRecord.data(), mRecord.size()))
            return VideoResult::failed(encoderGone);
    if (framesRendered > 0 && !anyDrawn && result.succeeded())
        return VideoResult::failed(tr("Not one picture of the movie could be decoded."));
    return result;
}

bool VideoOutput::setDstFile(const QString& path)
{
    removeLink();
    mOutputPath = path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.close();
    mDstPath = PrivateTempDir::makeLink(kLinkName, QFileInfo(path).absoluteFilePath());
    return !mDstPath.isEmpty();
}

void VideoOutput::removeLink()
{
    if (!mDstPath.isEmpty())
        QFile::remove(mDstPath);
    mDstPath.clear();
}

VideoResult VideoOutput::convert()
{
    VideoResult result;
    if (mDstPath.isEmpty())
        result = VideoResult::failed(tr("The video output file %1 could not be made.").arg(mOutputPath));
    else if (!mBuffersReady)
        result = buffersMissing();
    else
        result = runEncoder();
    removeLink();
    if (result.status == VideoResult::Status::Failed)
        QFile::remove(mOutputPath);
    return result;
}

VideoResult VideoOutput::runEncoder()
{
    ToolProcess encoder(
        EncoderCommand::program(), EncoderCommand::arguments(mFormatVCD, mBitRate, mQuality, mInterlaced, mDstPath));
    VideoResult streamed;
    if (encoder.start()) {
        streamed = writeStream(
            [&encoder](const char* data, qint64 size) { return encoder.write(QByteArray::fromRawData(data, size)); });
        encoder.closeWriteChannel();
    }
    return judged(streamed, encoder.finish(), mOutputPath);
}
