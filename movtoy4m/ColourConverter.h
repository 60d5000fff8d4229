#pragma once

#include <cstdint>

// Turns ARGB frames (one 32-bit word per pixel, red in bits 16-23, green in
// 8-15, blue in 0-7) into the planar YCbCr 4:2:0 of video CDs, with
// studio-range levels (Y 16-235, Cb and Cr 16-240), from tables built once
// per process: no floating point per pixel.
class ColourConverter {
public:
    // Builds the tables; later calls do nothing. Converting builds them too,
    // so calling this only moves the work to a time of the caller's choice.
    static void initialize();

    // Converts a frame of `width` x `height` pixels (both even) whose rows are
    // `rowBytes` apart. Y is written row by row (width bytes a row); each
    // chroma sample is taken from the average of its 2 x 2 block, and Cb and
    // Cr are written block row by block row ((width / 2) bytes a row).
    static void convert(
        const uint32_t* pixels, int rowBytes, int width, int height, uint8_t* y, uint8_t* cb, uint8_t* cr);
};
