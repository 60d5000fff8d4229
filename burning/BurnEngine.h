#pragma once

#include <QString>

class DRDevice;

// Which program writes the disc: the disc-recording layer, fed with the
// image's layout, or cdrdao, which reads the TOC itself.
enum class BurnEngine {
    DiscRecording,
    Cdrdao,
    None, // neither can write this image to this recorder
};

struct BurnEngineChoice
{
    // The layer burns when it has a layout and the recorder takes raw Mode 2
    // tracks from it, unless the preferences ask for cdrdao; cdrdao needs a
    // real drive, so the recorder that writes an image file always goes
    // through the layer and can write nothing without a layout.
    static BurnEngine choose(
        bool hasLayout, bool cdrdaoPreferred, bool recorderWritesImageFile, bool recorderCanWriteRawMode2);
    static BurnEngine choose(bool hasLayout, bool cdrdaoPreferred, const DRDevice &recorder);

    static QString name(BurnEngine engine);
};
