#include "platform/DRDevice.h"

#include "platform/DRTrack.h"
#include "platform/DiscImageDevice.h"
#include "platform/LibburnDevice.h"

DRDevice::~DRDevice() = default;

QList<std::shared_ptr<DRDevice>> DRDevice::devices()
{
    QList<std::shared_ptr<DRDevice>> all = LibburnDevice::scan();
    all.append(discImageFileDevice());
    return all;
}

std::shared_ptr<DRDevice> DRDevice::discImageFileDevice()
{
    static const std::shared_ptr<DRDevice> device = std::make_shared<DiscImageDevice>();
    return device;
}

QVariantMap DRDevice::mediaInfo()
{
    const DRMSF space = mediaSpaceFree();
    const uint32_t leadIn = uint32_t(DRTrack::kDefaultPreGapLength);
    const uint32_t blocks = space.totalFrames() > leadIn ? space.totalFrames() - leadIn : 0;
    return { { DRDeviceMediaBlocksFreeKey, quint64(blocks) }, { DRDeviceMediaIsBlankKey, blocks > 0 } };
}
