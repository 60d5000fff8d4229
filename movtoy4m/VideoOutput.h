#pragma once

#include "movtoy4m/FramePlacement.h"
#include "movtoy4m/FrameRecord.h"
#include "movtoy4m/VideoResult.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class Movie;

// Turns one movie's picture into an MPEG video elementary stream: renders
// every output frame through the movie service, places it in the disc's
// frame, converts it to YCbCr 4:2:0 and streams it as YUV4MPEG2 into
// mpeg2enc. Used on one worker thread, once per movie, in this order:
// setVCD(), setWidth(), setDstFile(), the handlers, convert().
class VideoOutput {
public:
    // Fewer frames than this make a stream some players refuse; the last
    // frame is repeated up to it.
    static constexpr int kMinimumFrames = 180;

    // NotDrawn: the movie service drew nothing (no picture yet, or none that
    // decodes); the frame keeps what the buffer held.
    enum class FrameResult { Drawn, NotDrawn, MovieEnded };

    // Receives the bytes of the stream; false when they could not be taken
    // (the encoder has gone), which ends the stream.
    using StreamWriter = std::function<bool(const char* data, qint64 size)>;

    // The movie stays the caller's and must outlive this object.
    explicit VideoOutput(Movie& movie);
    ~VideoOutput();

    VideoOutput(const VideoOutput&) = delete;
    VideoOutput& operator=(const VideoOutput&) = delete;

    // Builds the colour tables ahead of the first frame.
    static void initialize();

    // Output frame rate as the disc formats give it: rate1 / rate2 in single
    // precision (29.97003 for 30000/1001), so sampling times match exactly.
    static double encodingRate(int rate1, int rate2);
    // Movie time of output frame k: rounded up, so a frame never shows a
    // picture from before its own time.
    static int64_t sampleTime(int frame, double encodingFPS, int timeScale);

    void setVCD(bool formatVCD, bool formatPAL, int bitRate, int quality, int lightness, bool tvSafe, bool interlaced);

    // Output size, frame rate and display aspect: places the picture and
    // makes the buffers. False when the buffers cannot be made for that size;
    // convert() then fails without starting the encoder.
    bool setWidth(int width, int height, int rate1, int rate2, int aspect1, int aspect2);

    // Creates an empty `path` (replacing a file there) and gives the encoder
    // a link to it in Kestrin's private temporary folder, so that no project
    // path ever appears on its command line.
    bool setDstFile(const QString& path);

    void setProgressHandler(std::function<void(double percent)> handler);
    void setStopFlag(const std::atomic_bool* stop);

    // Runs the encoder and streams every frame into it; returns when the
    // encoder has finished. A failed stream's output file is removed.
    VideoResult convert();

    // The stream without the encoder: header, every frame, then the last
    // frame repeated until there are kMinimumFrames. Fails when not one
    // picture of the movie could be drawn.
    VideoResult writeStream(const StreamWriter& write);

    // Renders output frame k into the frame buffer.
    FrameResult renderFrame(int frame);

    // The output frame's pixels (ARGB words) and its row stride in bytes.
    const uint32_t* frameBits() const { return mScaledOffscreen.get(); }
    int rowBytes() const { return mRowBytes; }

private:
    bool setupOffscreen();
    VideoResult buffersMissing() const;
    VideoResult runEncoder();
    void buildLightenTable();
    void lightenInto(uint32_t* target);
    uint32_t* pictureOrigin();
    void reportProgress(int64_t time);
    bool stopRequested() const { return mStop && mStop->load(); }
    void removeLink();

    Movie& mMovie;
    int mTimeScale = 0;
    int64_t mDuration = 0;
    double mEncodingFPS = 0;
    int mCurrentFrame = 0;

    FrameRect mScaledRect;

    // The output frame; the picture is drawn straight into mScaledRect of it.
    std::unique_ptr<uint32_t[]> mScaledOffscreen;
    // The picture before lightening (size of mScaledRect), only when lightening.
    std::unique_ptr<uint32_t[]> mOffscreen;
    FrameRecord mRecord;
    bool mBuffersReady = false;
    int mRowBytes = 0;
    uint8_t mLightenTable[256] = {};

    int mFinalWidth = 0;
    int mFinalHeight = 0;
    int mFps1 = 0;
    int mFps2 = 1;

    QString mDstPath; // the link the encoder writes through
    QString mOutputPath; // the real file behind it
    std::function<void(double)> mProgress;
    const std::atomic_bool* mStop = nullptr;

    bool mFormatVCD = true;
    bool mFormatPAL = false;
    int mBitRate = 0;
    int mQuality = 0;
    int mLightness = 0;
    bool mTVSafe = false;
    bool mInterlaced = false;
};
