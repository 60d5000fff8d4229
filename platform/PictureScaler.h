#pragma once

#include "platform/FfmpegPointers.h"

#include <QSize>

#include <cstdint>
#include <vector>

// Scales decoded pictures into 32-bit ARGB words with a high-quality filter,
// turning them by a quarter, half or three-quarter turn on the way.
class PictureScaler {
public:
    PictureScaler() = default;
    PictureScaler(const PictureScaler&) = delete;
    PictureScaler& operator=(const PictureScaler&) = delete;

    // Draws `picture` into `pixels` (`size`, rows `bytesPerLine` apart),
    // turned counter-clockwise by `rotation` degrees (0, 90, 180 or 270).
    bool draw(const AVFrame* picture, int rotation, const QSize& size, uint32_t* pixels, int bytesPerLine);

private:
    struct Setup {
        int sourceWidth = 0;
        int sourceHeight = 0;
        int sourceFormat = -1;
        int colorSpace = -1;
        bool fullRange = false;
        QSize target;
        bool operator==(const Setup& other) const = default;
    };

    bool prepare(const AVFrame* picture, const QSize& target);
    bool scale(const AVFrame* picture, const QSize& target);
    void copy(const QSize& size, uint32_t* pixels, int bytesPerLine) const;
    void rotate(int rotation, const QSize& size, uint32_t* pixels, int bytesPerLine) const;

    SwsContextPtr mContext;
    Setup mSetup;
    // The scaled picture before it is turned. The scaler writes whole vector
    // registers past the end of a row, so its rows are padded and the
    // caller's buffer only ever receives copies of the visible pixels.
    std::vector<uint32_t> mScaled;
    int mScaledStride = 0; // in pixels
};
