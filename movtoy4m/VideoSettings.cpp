#include "movtoy4m/VideoSettings.h"

#include "settings/SettingsModel.h"

VideoSettings VideoSettings::fromModel(const SettingsModel& model)
{
    VideoSettings settings;
    settings.formatVCD = model.formatVCD();
    settings.formatPAL = model.formatPAL();
    settings.bitRate = model.bitRate();
    settings.quality = int(model.quality());
    settings.lightness = int(model.lightness());
    settings.tvSafe = model.tvSafe();
    settings.interlaced = model.interlaced();
    settings.framesizeOverride = model.intValue(QStringLiteral("Framesize")) == 1;
    settings.framesizeWidth = model.framesizeW();
    settings.framesizeHeight = model.framesizeH();
    return settings;
}
