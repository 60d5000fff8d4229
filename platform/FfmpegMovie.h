#pragma once

#include "platform/Movie.h"
#include "platform/PictureScaler.h"

#include <memory>

class MovieFile;
class VideoDecoder;

// The movie service on FFmpeg's libraries.
class FfmpegMovie : public Movie {
public:
    static std::unique_ptr<FfmpegMovie> open(const QString& path, QString* error = nullptr);
    ~FfmpegMovie() override;

    int64_t duration() const override;
    bool hasSound() const override { return mSoundStream >= 0; }
    bool hasVisual() const override { return mVisualStream >= 0; }
    QSize naturalSize() const override { return mNaturalSize; }
    QRect movieBox() const override { return mMovieBox; }
    void setMovieBox(const QRect& box) override { mMovieBox = box; }
    bool renderFrame(int64_t time, uint32_t* pixels, int bytesPerLine) override;
    ExportResult exportSound(
        const QString& wavPath, const std::function<bool(int percent)>& progress, QString* error = nullptr) override;

    // Seeks made while rendering; lets tests see that playing forward never seeks.
    int seekCount() const;

private:
    explicit FfmpegMovie(std::unique_ptr<MovieFile> file);
    void measurePicture();
    bool startDecoder();
    int64_t streamTime(int64_t time) const;

    std::unique_ptr<MovieFile> mFile;
    int mSoundStream = -1;
    int mVisualStream = -1;
    int mRotation = 0; // counter-clockwise degrees: 0, 90, 180 or 270
    QSize mNaturalSize;
    QRect mMovieBox;
    std::unique_ptr<VideoDecoder> mDecoder;
    bool mDecoderFailed = false;
    PictureScaler mScaler;
};
