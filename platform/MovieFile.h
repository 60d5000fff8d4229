#pragma once

#include "platform/FfmpegPointers.h"

#include <QString>

#include <chrono>
#include <memory>

// One movie file opened for reading with libavformat: its tracks, its own
// clock and its packets. Opening reads the container's header and decodes
// nothing unless the container keeps its stream parameters in the packets
// (MPEG program streams), so opening stays cheap for hundreds of movies.
class MovieFile {
public:
    // Null (and `error` set) when the file is no movie.
    static std::unique_ptr<MovieFile> open(const QString& path, QString* error = nullptr);

    AVFormatContext* context() const { return mContext.get(); }
    AVStream* stream(int index) const { return mContext->streams[index]; }
    QString path() const { return mPath; }

    // The first enabled stream of that kind, -1 when there is none. Cover
    // art attached to a sound file is not a video stream.
    int firstEnabledStream(AVMediaType type) const;

    // The movie's time zero, in AV_TIME_BASE units of the container's clock.
    int64_t startTime() const;
    // The movie's length in AV_TIME_BASE units; 0 when unknown.
    int64_t duration() const;

    // Goes back to the movie's first packet; false when the file cannot be
    // read again.
    bool rewind();

    // Makes the reader pass over every stream but this one.
    void readOnly(int streamIndex);

    // The next packet of any stream read; false at the end or on a read error.
    bool readPacket(AVPacket* packet);

private:
    explicit MovieFile(const QString& path);
    bool openContext(QString* error);
    bool needsStreamProbe() const;
    bool isEnabled(const AVStream* stream) const;
    static int interruptCallback(void* opaque);

    QString mPath;
    FormatContextPtr mContext;
    bool mHasRead = false; // packets were read since opening or rewinding
    // Reading a hostile header may not take longer than this.
    std::chrono::steady_clock::time_point mDeadline;
};
