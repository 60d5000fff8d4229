#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// What VCDBurner knows of one track of its layout, from the layout until the
// end of the track's burn. Lengths are in 2352-byte blocks.
struct TrackContext
{
    uint32_t trackNumber = 0; // from 1
    QString trackFilePath;
    uint64_t trackLength = 0;

    // Empty for a track without a pregap file, which is always so for track 1:
    // its pregap is made of zero bytes.
    QString pregapFilePath;
    uint64_t pregapLength = 0;

    // Open only between the track's preparation and its clean-up.
    std::optional<int> pregapFileDescriptor;
    std::optional<int> trackFileDescriptor;
};
