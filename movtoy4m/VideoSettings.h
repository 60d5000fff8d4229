#pragma once

class SettingsModel;

// The project settings one movie's video conversion reads, taken at the
// moment the conversion starts.
struct VideoSettings {
    static constexpr int kDefaultBitRate = 2500;

    bool formatVCD = true; // VCD (MPEG-1) or SVCD (MPEG-2)
    bool formatPAL = false; // PAL or NTSC
    int bitRate = 0; // kbit/s; 0 means kDefaultBitRate, whatever the format
    int quality = 100; // 0-100
    int lightness = 0; // below 2: none; else the level (mod 256) the picture is washed toward white
    bool tvSafe = false;
    bool interlaced = false;
    bool framesizeOverride = false; // replace the format's frame size with the non-zero fields below
    int framesizeWidth = 0;
    int framesizeHeight = 0;

    int effectiveBitRate() const { return bitRate == 0 ? kDefaultBitRate : bitRate; }

    // The live values of the open project.
    static VideoSettings fromModel(const SettingsModel& model);
};
