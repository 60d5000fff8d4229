#pragma once

#include "movtoy4m/VideoSettings.h"

class SettingsModel;

// The project settings a conversion works with, taken when it starts (the
// progress sheet keeps the settings from changing while it runs).
struct ConversionSettings
{
    VideoSettings video;
    bool genericMPEG = false; // multiplex as a generic MPEG stream, not a disc stream

    // mplex's format code for these settings.
    int multiplexFormat() const;

    static ConversionSettings fromModel(const SettingsModel &model);
};
