#include "platform/MovieFile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <mutex>

namespace {

constexpr auto kOpenTimeLimit = std::chrono::seconds(20);
constexpr int kReadRetries = 100;

QString tr(const char* text)
{
    return QCoreApplication::translate("MovieFile", text);
}

void quietLibraries()
{
    // Damaged movies make the decoders complain on every frame; failures
    // reach the caller through results instead.
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

bool hasCodecParameters(const AVCodecParameters* parameters)
{
    if (parameters->codec_id == AV_CODEC_ID_NONE)
        return false;
    switch (parameters->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return parameters->width > 0 && parameters->height > 0;
    case AVMEDIA_TYPE_AUDIO:
        return parameters->sample_rate > 0 && parameters->ch_layout.nb_channels > 0;
    default:
        return true;
    }
}

} // namespace

MovieFile::MovieFile(const QString& path)
    : mPath(path)
{
}

std::unique_ptr<MovieFile> MovieFile::open(const QString& path, QString* error)
{
    quietLibraries();
    const QFileInfo info(path);
    // A fifo or a device named like a movie would block the reader forever.
    if (!info.isFile()) {
        if (error)
            *error = info.exists() ? tr("%1 is not a file.").arg(path) : tr("%1 does not exist.").arg(path);
        return nullptr;
    }
    std::unique_ptr<MovieFile> file(new MovieFile(path));
    if (!file->openContext(error))
        return nullptr;
    return file;
}

bool MovieFile::openContext(QString* error)
{
    AVFormatContext* context = avformat_alloc_context();
    if (!context)
        return false;
    mDeadline = std::chrono::steady_clock::now() + kOpenTimeLimit;
    context->interrupt_callback = { &MovieFile::interruptCallback, this };
    // avformat_open_input frees the context when it fails.
    int status = avformat_open_input(&context, QFile::encodeName(mPath).constData(), nullptr, nullptr);
    if (status >= 0) {
        mContext.reset(context);
        if (needsStreamProbe())
            status = avformat_find_stream_info(context, nullptr);
    }
    mDeadline = std::chrono::steady_clock::time_point::max();
    if (status < 0 || mContext->nb_streams == 0) {
        if (error)
            *error = tr("%1 is not a movie file.").arg(QFileInfo(mPath).fileName());
        mContext.reset();
        return false;
    }
    return true;
}

bool MovieFile::needsStreamProbe() const
{
    if (mContext->ctx_flags & AVFMTCTX_NOHEADER)
        return true;
    if (mContext->nb_streams == 0)
        return true;
    bool knowsLength = mContext->duration > 0;
    for (unsigned i = 0; i < mContext->nb_streams; ++i) {
        const AVStream* stream = mContext->streams[i];
        if (!hasCodecParameters(stream->codecpar))
            return true;
        knowsLength = knowsLength || stream->duration > 0;
    }
    return !knowsLength;
}

int MovieFile::interruptCallback(void* opaque)
{
    const auto* file = static_cast<const MovieFile*>(opaque);
    return std::chrono::steady_clock::now() > file->mDeadline ? 1 : 0;
}

bool MovieFile::isEnabled(const AVStream* stream) const
{
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
        return false;
    // Only the QuickTime family records whether a track is enabled; its
    // demuxer reports an enabled track as a default one.
    if (strstr(mContext->iformat->name, "mov"))
        return stream->disposition & AV_DISPOSITION_DEFAULT;
    return true;
}

int MovieFile::firstEnabledStream(AVMediaType type) const
{
    for (unsigned i = 0; i < mContext->nb_streams; ++i) {
        const AVStream* stream = mContext->streams[i];
        if (stream->codecpar->codec_type == type && isEnabled(stream))
            return int(i);
    }
    return -1;
}

int64_t MovieFile::startTime() const
{
    return mContext->start_time == AV_NOPTS_VALUE ? 0 : mContext->start_time;
}

int64_t MovieFile::duration() const
{
    if (mContext->duration > 0)
        return mContext->duration;
    int64_t end = 0;
    for (unsigned i = 0; i < mContext->nb_streams; ++i) {
        const AVStream* stream = mContext->streams[i];
        if (stream->duration <= 0)
            continue;
        const int64_t first = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
        end = std::max(end, av_rescale_q(first + stream->duration, stream->time_base, AV_TIME_BASE_Q));
    }
    return std::max<int64_t>(0, end - startTime());
}

bool MovieFile::rewind()
{
    if (!mHasRead)
        return true;
    mHasRead = false;
    // Files without a time index can still be read again from their first byte.
    return av_seek_frame(mContext.get(), -1, startTime(), AVSEEK_FLAG_BACKWARD) >= 0
        || av_seek_frame(mContext.get(), -1, 0, AVSEEK_FLAG_BYTE) >= 0;
}

void MovieFile::readOnly(int streamIndex)
{
    for (unsigned i = 0; i < mContext->nb_streams; ++i)
        mContext->streams[i]->discard = int(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

bool MovieFile::readPacket(AVPacket* packet)
{
    mHasRead = true;
    for (int attempt = 0; attempt < kReadRetries; ++attempt) {
        const int status = av_read_frame(mContext.get(), packet);
        if (status >= 0)
            return true;
        if (status != AVERROR(EAGAIN))
            return false;
    }
    return false;
}
