#include "platform/VideoDecoder.h"

#include "platform/MovieFile.h"

#include <QCoreApplication>

namespace {

// Frame threads pay off on big pictures only; smaller ones decode on one
// thread far faster than the encoder takes them, and the two cores are
// shared with the encoder.
constexpr int kThreadedPictureArea = 1280 * 720;
constexpr int kDecoderThreads = 2;

// A jump forward shorter than this decodes on rather than seeking.
constexpr AVRational kFarAhead { 1, 1 };
// Without a full index, seeking only pays off for long jumps.
constexpr AVRational kFarAheadUnindexed { 10, 1 };

bool isDamaged(const AVFrame* frame)
{
    return frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT);
}

} // namespace

VideoDecoder::VideoDecoder(MovieFile* file, int streamIndex)
    : mFile(file)
    , mStream(file->stream(streamIndex))
    , mStreamIndex(streamIndex)
    , mPacket(av_packet_alloc())
    , mShown(av_frame_alloc())
    , mAhead(av_frame_alloc())
{
}

std::unique_ptr<VideoDecoder> VideoDecoder::create(MovieFile* file, int streamIndex, QString* error)
{
    std::unique_ptr<VideoDecoder> decoder(new VideoDecoder(file, streamIndex));
    if (!decoder->openCodec(error))
        return nullptr;
    return decoder;
}

bool VideoDecoder::openCodec(QString* error)
{
    const AVCodecParameters* parameters = mStream->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec)
        mCodec.reset(avcodec_alloc_context3(codec));
    if (!mCodec || !mPacket || !mShown || !mAhead || avcodec_parameters_to_context(mCodec.get(), parameters) < 0) {
        if (error)
            *error = QCoreApplication::translate("VideoDecoder", "The movie's picture format (%1) cannot be read.")
                         .arg(QString::fromLatin1(avcodec_get_name(parameters->codec_id)));
        return false;
    }
    mCodec->pkt_timebase = mStream->time_base;
    const bool large = parameters->width * parameters->height >= kThreadedPictureArea;
    mCodec->thread_count = large ? kDecoderThreads : 1;
    mCodec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(mCodec.get(), codec, nullptr) < 0) {
        if (error)
            *error = QCoreApplication::translate("VideoDecoder", "The movie's picture decoder could not be started.");
        return false;
    }
    return true;
}

const AVFrame* VideoDecoder::pictureAt(int64_t time)
{
    if (shouldSeek(time))
        seekTo(time);
    advanceTo(time);
    if (mHasShown)
        return mShown.get();
    return mHasAhead ? mAhead.get() : nullptr;
}

bool VideoDecoder::shouldSeek(int64_t time) const
{
    if (mHasShown ? time < mShown->pts : time < mSeekTarget)
        return true;
    if (mHasAhead)
        return keyFrameLiesBetween(mAhead->pts, time);
    if (mHasShown)
        return keyFrameLiesBetween(mShown->pts, time);
    return false;
}

bool VideoDecoder::keyFrameLiesBetween(int64_t position, int64_t time) const
{
    const int64_t distance = time - position;
    if (distance <= av_rescale_q(1, kFarAhead, mStream->time_base))
        return false;
    const int entries = avformat_index_get_entries_count(mStream);
    const AVIndexEntry* last = entries > 0 ? avformat_index_get_entry(mStream, entries - 1) : nullptr;
    if (!last || last->timestamp < time)
        return distance > av_rescale_q(1, kFarAheadUnindexed, mStream->time_base);
    const AVIndexEntry* keyFrame = avformat_index_get_entry_from_timestamp(mStream, time, AVSEEK_FLAG_BACKWARD);
    return keyFrame && keyFrame->timestamp > position;
}

void VideoDecoder::seekTo(int64_t time)
{
    ++mSeekCount;
    AVFormatContext* context = mFile->context();
    // Files without a time index can still be read again from the start.
    if (av_seek_frame(context, mStreamIndex, time, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(context, mStreamIndex, 0, AVSEEK_FLAG_BYTE);
    avcodec_flush_buffers(mCodec.get());
    av_frame_unref(mShown.get());
    av_frame_unref(mAhead.get());
    mHasShown = mHasAhead = false;
    mInputEnded = mDecoderEnded = false;
    mLastPts = AV_NOPTS_VALUE;
    mSeekTarget = time;
}

void VideoDecoder::advanceTo(int64_t time)
{
    while (mHasAhead || decodeAhead()) {
        if (mAhead->pts > time)
            return;
        av_frame_unref(mShown.get());
        av_frame_move_ref(mShown.get(), mAhead.get());
        mHasShown = true;
        mHasAhead = false;
    }
}

bool VideoDecoder::decodeAhead()
{
    while (!mDecoderEnded) {
        const int status = avcodec_receive_frame(mCodec.get(), mAhead.get());
        if (status == 0) {
            if (acceptFrame(mAhead.get())) {
                mHasAhead = true;
                return true;
            }
            av_frame_unref(mAhead.get());
        } else if (status == AVERROR_EOF || !feedPacket()) {
            // A decoding error other than "needs input" goes on with the next packet.
            mDecoderEnded = true;
        }
    }
    return false;
}

bool VideoDecoder::feedPacket()
{
    if (mInputEnded)
        return false;
    while (mFile->readPacket(mPacket.get())) {
        const bool ours = mPacket->stream_index == mStreamIndex;
        if (ours)
            avcodec_send_packet(mCodec.get(), mPacket.get()); // a damaged packet is passed over
        av_packet_unref(mPacket.get());
        if (ours)
            return true;
    }
    avcodec_send_packet(mCodec.get(), nullptr);
    mInputEnded = true;
    return true;
}

bool VideoDecoder::acceptFrame(AVFrame* frame)
{
    if (isDamaged(frame))
        return false;
    int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE)
        pts = mLastPts == AV_NOPTS_VALUE ? 0 : mLastPts + frameDuration(frame);
    frame->pts = pts;
    mLastPts = pts;
    return true;
}

int64_t VideoDecoder::frameDuration(const AVFrame* frame) const
{
    if (frame->pkt_duration > 0)
        return frame->pkt_duration;
    const AVRational rate = av_guess_frame_rate(mFile->context(), mStream, const_cast<AVFrame*>(frame));
    if (rate.num > 0 && rate.den > 0)
        return std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), mStream->time_base));
    return 1;
}
