#pragma once

#include "movtoy4m/VideoSettings.h"

// The frame size and rate a movie is converted to.
struct OutputFormat {
    int width = 0;
    int height = 0;
    int rate1 = 0; // frames per second = rate1 / rate2
    int rate2 = 1;

    bool operator==(const OutputFormat&) const = default;

    // The disc's own format: VCD 352 x 240 (NTSC) or 352 x 288 (PAL), SVCD
    // 480 x 480 or 480 x 576, at 30000/1001 or 25 frames per second.
    static OutputFormat forDisc(bool formatVCD, bool formatPAL);

    // The disc's format with the frame-size override applied.
    static OutputFormat forSettings(const VideoSettings& settings);

    // An override size made one the conversion can handle: the width down to
    // a multiple of 4, the height down to an even number, each from 16 to
    // 4096. Zero or less means "no override" and gives 0.
    static int usableWidth(int width);
    static int usableHeight(int height);
};
