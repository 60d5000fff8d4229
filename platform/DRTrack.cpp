#include "platform/DRTrack.h"

#include "platform/DRTrackProducer.h"
#include "platform/FolderTrackProducer.h"

DRTrack::DRTrack(std::shared_ptr<DRTrackProducer> producer)
    : mProducer(std::move(producer))
{
}

DRTrack::~DRTrack() = default;

DRTrack::Format DRTrack::format() const
{
    const int sessionFormat = mProperties.value(DRSessionFormatKey, kMode1SessionFormat).toInt();
    if (blockSize() == kMode1BlockSize && sessionFormat == kMode1SessionFormat)
        return Format::Mode1Data;
    if (blockSize() == kRawBlockSize && sessionFormat == kXASessionFormat)
        return Format::Mode2Raw;
    return Format::Unsupported;
}

uint32_t DRTrack::blockSize() const
{
    return mProperties.value(DRBlockSizeKey, kMode1BlockSize).toUInt();
}

uint64_t DRTrack::preGapLength() const
{
    return mProperties.value(DRPreGapLengthKey, quint64(kDefaultPreGapLength)).toULongLong();
}

uint64_t DRTrack::length() const
{
    return mProperties.value(DRTrackLengthKey).toULongLong();
}

std::shared_ptr<DRTrack> DRTrack::trackForRootFolder(std::shared_ptr<DRFolder> root)
{
    auto track = std::make_shared<DRTrack>(std::make_shared<FolderTrackProducer>(std::move(root)));
    track->setProperties({ { DRBlockSizeKey, kMode1BlockSize }, { DRBlockTypeKey, 8 }, { DRDataFormKey, 8 },
        { DRSessionFormatKey, kMode1SessionFormat }, { DRTrackModeKey, 4 },
        { DRVerificationTypeKey, DRVerificationTypeNone }, { DRPreGapLengthKey, quint64(kDefaultPreGapLength) } });
    return track;
}
