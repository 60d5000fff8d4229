#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

// The movie service: one opened movie file, on FFmpeg.
//
// Times are in units of kTimeScale (600) per second. Frames are rendered as
// 32-bit ARGB words: one quint32 per pixel holding (A << 24) | (R << 16) |
// (G << 8) | B in the machine's own byte order (QImage::Format_ARGB32,
// AV_PIX_FMT_BGRA on little-endian machines).
//
// A Movie is used by one thread at a time; different movies may be used on
// different threads at once.
class Movie
{
public:
    static constexpr int kTimeScale = 600;

    // Opens the file; null (and `error` set) when it is no movie. Never
    // decodes frames, so it is cheap enough to total the durations of
    // hundreds of movies.
    static std::unique_ptr<Movie> open(const QString &path, QString *error = nullptr);

    virtual ~Movie();

    int timeScale() const { return kTimeScale; }
    // Length in time-scale units, rounded down.
    virtual int64_t duration() const = 0;
    // Whether an enabled sound track / visual track exists. Cover art
    // attached to a sound file is not a visual track.
    virtual bool hasSound() const = 0;
    virtual bool hasVisual() const = 0;

    // The picture's size as a person sees it: sample aspect ratio and the
    // recorded rotation applied. Empty without a visual track.
    virtual QSize naturalSize() const = 0;

    // The box frames are rendered into; (0, 0, naturalSize) until set.
    virtual QRect movieBox() const = 0;
    virtual void setMovieBox(const QRect &box) = 0;

    // Draws the picture shown at `time` into `pixels` (movieBox().size(),
    // `bytesPerLine` apart), scaled into the box with a high-quality filter.
    // Times that grow frame by frame decode forward without seeking. Before
    // the first picture, the first picture is drawn; past the end, the last.
    // A decoding error keeps the last good picture. False, with the buffer
    // left as it is, only when nothing could be drawn at all (no visual
    // track, or no picture that decodes). Only the box's width is written
    // in each row, however far apart the rows are.
    virtual bool renderFrame(int64_t time, uint32_t *pixels, int bytesPerLine) = 0;

    enum class ExportResult { Done, Aborted, NoSound, Failed };

    // Writes the first enabled sound track to `wavPath` as 16-bit PCM
    // stereo 44100 Hz with a plain 44-byte header holding the real sizes.
    // `progress` is called with the percentage done (0-100); a true answer
    // aborts and removes the file. NoSound leaves no file either. Rendering
    // afterwards starts over from the movie's beginning.
    virtual ExportResult exportSound(const QString &wavPath, const std::function<bool(int percent)> &progress,
        QString *error = nullptr)
        = 0;

protected:
    Movie() = default;
};
