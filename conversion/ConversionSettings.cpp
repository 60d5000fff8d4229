#include "conversion/ConversionSettings.h"

#include "conversion/Multiplexer.h"
#include "settings/SettingsModel.h"

int ConversionSettings::multiplexFormat() const
{
    // The rate the video encoder was given, so both agree on the standard rate.
    return Multiplexer::formatCode(video.formatVCD, genericMPEG, video.effectiveBitRate());
}

ConversionSettings ConversionSettings::fromModel(const SettingsModel &model)
{
    return { VideoSettings::fromModel(model), model.genericMPEG() };
}
