#pragma once

#include "platform/FfmpegPointers.h"

#include <QString>

#include <memory>

class MovieFile;

// Decodes one video stream of a movie and answers which picture is shown at
// a given time. Requests that move forward decode on from where the last one
// stopped; only a jump backwards, or far ahead past a key frame, seeks.
// Damaged pictures are dropped, so the last good one stays shown.
class VideoDecoder {
public:
    // Null (and `error` set) when the stream's codec cannot be opened.
    static std::unique_ptr<VideoDecoder> create(MovieFile* file, int streamIndex, QString* error = nullptr);

    // The picture shown at `time` (in the stream's time base): the last one
    // that starts at or before it, else the first one after it. Null when
    // no picture can be decoded at all.
    const AVFrame* pictureAt(int64_t time);

    // How many seeks were made; lets tests see that playing forward never seeks.
    int seekCount() const { return mSeekCount; }

private:
    VideoDecoder(MovieFile* file, int streamIndex);
    bool openCodec(QString* error);
    bool shouldSeek(int64_t time) const;
    bool keyFrameLiesBetween(int64_t position, int64_t time) const;
    void seekTo(int64_t time);
    void advanceTo(int64_t time);
    bool decodeAhead();
    bool feedPacket();
    bool acceptFrame(AVFrame* frame);
    int64_t frameDuration(const AVFrame* frame) const;

    MovieFile* mFile;
    AVStream* mStream;
    int mStreamIndex;
    CodecContextPtr mCodec;
    PacketPtr mPacket;
    FramePtr mShown; // the last picture at or before the last request
    FramePtr mAhead; // the first picture after it, once decoded
    bool mHasShown = false;
    bool mHasAhead = false;
    bool mInputEnded = false;
    bool mDecoderEnded = false;
    int64_t mLastPts = AV_NOPTS_VALUE;
    int64_t mSeekTarget = INT64_MIN;
    int mSeekCount = 0;
};
