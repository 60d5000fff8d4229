#pragma once

#include <QString>

#include <cstdint>

// An amount of CD blocks written as minutes, seconds and frames (75 frames a
// second). A free-space figure counts the 2-second lead-in gap of 150 frames
// like a disc address does, so an empty 80-minute disc reads 80:00:00 and
// holds 80 × 60 × 75 − 150 blocks.
class DRMSF {
public:
    static constexpr int kFramesPerSecond = 75;
    static constexpr int kSecondsPerMinute = 60;

    DRMSF() = default;
    explicit DRMSF(uint32_t frames)
        : mFrames(frames)
    {
    }
    DRMSF(int minutes, int seconds, int frames);

    uint32_t minutes() const { return mFrames / (kFramesPerSecond * kSecondsPerMinute); }
    uint32_t seconds() const { return mFrames / kFramesPerSecond % kSecondsPerMinute; }
    uint32_t frames() const { return mFrames % kFramesPerSecond; }
    uint32_t totalFrames() const { return mFrames; }

    // "MM:SS:FF", as in cue sheets.
    QString description() const;

    bool operator==(const DRMSF&) const = default;

private:
    uint32_t mFrames = 0;
};
