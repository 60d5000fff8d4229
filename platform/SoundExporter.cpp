#include "platform/SoundExporter.h"

#include "platform/MovieFile.h"
#include "platform/WavFileWriter.h"

#include <QCoreApplication>

extern "C" {
#include <libavutil/opt.h>
}

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("SoundExporter", text);
}

} // namespace

SoundExporter::SoundExporter(MovieFile* file)
    : mFile(file)
{
}

SoundExporter::~SoundExporter()
{
    av_channel_layout_uninit(&mResamplerLayout);
}

Movie::ExportResult SoundExporter::run(const QString& wavPath, const Progress& progress, QString* error)
{
    mStreamIndex = mFile->firstEnabledStream(AVMEDIA_TYPE_AUDIO);
    if (mStreamIndex < 0)
        return Movie::ExportResult::NoSound;
    if (!mFile->rewind()) {
        if (error)
            *error = tr("The movie cannot be read again from its start.");
        return Movie::ExportResult::Failed;
    }
    if (!openDecoder(error))
        return Movie::ExportResult::Failed;
    mWriter = std::make_unique<WavFileWriter>(wavPath);
    if (!mWriter->open()) {
        if (error)
            *error = tr("%1 could not be written: %2").arg(wavPath, mWriter->errorString());
        return Movie::ExportResult::Failed;
    }
    Movie::ExportResult result = decodeAll(progress);
    if (result == Movie::ExportResult::Done && mWriter->framesWritten() == 0) {
        if (error)
            *error = tr("The movie's sound could not be decoded.");
        mWriter->discard();
        return Movie::ExportResult::NoSound;
    }
    if (result == Movie::ExportResult::Done && progress && progress(100))
        result = Movie::ExportResult::Aborted;
    if (result == Movie::ExportResult::Done && !mWriter->finish()) {
        mWriteFailed = true;
        result = Movie::ExportResult::Failed;
    }
    if (result == Movie::ExportResult::Done)
        return result;
    if (error && result == Movie::ExportResult::Failed)
        *error = mWriteFailed ? tr("%1 could not be written: %2").arg(wavPath, mWriter->errorString())
                              : tr("The movie's sound could not be converted.");
    mWriter->discard();
    return result;
}

bool SoundExporter::openDecoder(QString* error)
{
    AVStream* stream = mFile->stream(mStreamIndex);
    mFile->readOnly(mStreamIndex);
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (codec)
        mCodec.reset(avcodec_alloc_context3(codec));
    if (!mCodec || avcodec_parameters_to_context(mCodec.get(), stream->codecpar) < 0) {
        if (error)
            *error = tr("The movie's sound format (%1) cannot be read.")
                         .arg(QString::fromLatin1(avcodec_get_name(stream->codecpar->codec_id)));
        return false;
    }
    mCodec->pkt_timebase = stream->time_base;
    if (avcodec_open2(mCodec.get(), codec, nullptr) < 0) {
        if (error)
            *error = tr("The movie's sound decoder could not be started.");
        return false;
    }
    return true;
}

Movie::ExportResult SoundExporter::decodeAll(const Progress& progress)
{
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return Movie::ExportResult::Failed;
    bool inputEnded = false;
    while (true) {
        const int status = avcodec_receive_frame(mCodec.get(), frame.get());
        if (status == 0) {
            const bool converted = convert(frame.get());
            const bool stop = reportProgress(frame.get(), progress);
            av_frame_unref(frame.get());
            if (!converted)
                return Movie::ExportResult::Failed;
            if (stop)
                return Movie::ExportResult::Aborted;
        } else if (status == AVERROR_EOF || inputEnded) {
            break;
        } else {
            // "Needs input", or a damaged packet that is passed over.
            inputEnded = !readAndSend();
        }
    }
    return drainResampler() ? Movie::ExportResult::Done : Movie::ExportResult::Failed;
}

// Sends the next sound packet, or the end of input; false once the end was sent.
bool SoundExporter::readAndSend()
{
    PacketPtr packet(av_packet_alloc());
    while (packet && mFile->readPacket(packet.get())) {
        if (packet->stream_index == mStreamIndex) {
            avcodec_send_packet(mCodec.get(), packet.get());
            return true;
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(mCodec.get(), nullptr);
    return false;
}

bool SoundExporter::convert(const AVFrame* frame)
{
    if (!prepareResampler(frame))
        return false;
    if (!mStarted) {
        mStarted = true;
        // Sound that starts after the movie does is preceded by silence, so it stays in step with the picture.
        const AVStream* stream = mFile->stream(mStreamIndex);
        if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
            const int64_t start = av_rescale_q(mFile->startTime(), AV_TIME_BASE_Q, stream->time_base);
            const int64_t late = av_rescale_q(
                frame->best_effort_timestamp - start, stream->time_base, AVRational { 1, WavFileWriter::kSampleRate });
            const int64_t limit = av_rescale(mFile->duration(), WavFileWriter::kSampleRate, AV_TIME_BASE);
            if (late > 0 && !mWriter->writeSilence(std::min(late, limit)))
                return !(mWriteFailed = true);
        }
    }
    return writeConverted(frame->extended_data, frame->nb_samples);
}

bool SoundExporter::prepareResampler(const AVFrame* frame)
{
    if (mResampler && frame->sample_rate == mResamplerRate && frame->format == mResamplerFormat
        && av_channel_layout_compare(&frame->ch_layout, &mResamplerLayout) == 0)
        return true;
    // The track changed its layout or rate on the way: finish what the old resampler holds first.
    if (mResampler && !drainResampler())
        return false;
    AVChannelLayout layout {};
    if (av_channel_layout_check(&frame->ch_layout) && frame->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_copy(&layout, &frame->ch_layout);
    else
        av_channel_layout_default(&layout, std::max(1, frame->ch_layout.nb_channels));
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    SwrContext* resampler = nullptr;
    const int status = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, WavFileWriter::kSampleRate, &layout,
        AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    mResampler.reset(resampler);
    // Mono sound is heard at its own level on both sides rather than 3 dB lower.
    if (status >= 0 && layout.nb_channels == 1) {
        const double bothSides[2] = { 1.0, 1.0 };
        swr_set_matrix(resampler, bothSides, 1);
    }
    av_channel_layout_uninit(&mResamplerLayout);
    mResamplerLayout = layout;
    mResamplerRate = frame->sample_rate;
    mResamplerFormat = frame->format;
    return status >= 0 && swr_init(resampler) >= 0;
}

bool SoundExporter::drainResampler()
{
    return !mResampler || writeConverted(nullptr, 0);
}

bool SoundExporter::writeConverted(const uint8_t* const* input, int inputSamples)
{
    const int capacity = swr_get_out_samples(mResampler.get(), inputSamples);
    if (capacity < 0)
        return false;
    mConverted.resize(size_t(capacity + 1) * WavFileWriter::kChannels);
    uint8_t* output = reinterpret_cast<uint8_t*>(mConverted.data());
    const int produced
        = swr_convert(mResampler.get(), &output, capacity + 1, const_cast<const uint8_t**>(input), inputSamples);
    if (produced < 0)
        return false;
    if (!mWriter->write(mConverted.data(), produced))
        return !(mWriteFailed = true);
    return true;
}

// Calls `progress` whenever the percentage done changes; true when it asks to stop.
bool SoundExporter::reportProgress(const AVFrame* frame, const Progress& progress)
{
    if (!progress)
        return false;
    const int64_t length = mFile->duration();
    int percent = 0;
    if (length > 0 && frame->best_effort_timestamp != AV_NOPTS_VALUE) {
        const AVStream* stream = mFile->stream(mStreamIndex);
        const int64_t done
            = av_rescale_q(frame->best_effort_timestamp, stream->time_base, AV_TIME_BASE_Q) - mFile->startTime();
        percent = int(std::clamp<int64_t>(done * 100 / length, 0, 99));
    }
    if (percent == mPercent)
        return false;
    mPercent = percent;
    return progress(percent);
}
