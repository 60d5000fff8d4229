#pragma once

#include "platform/DRTrackProducer.h"

#include <QString>

#include <memory>

class DRFSObject;
class DRFolder;
struct burn_source;
struct Iso_Dir;
struct Iso_Image;

// Serves a folder track: libisofs turns the DRFolder tree into an ISO 9660
// image (with Rock Ridge names, and Joliet when the root's file-system mask
// asks for it) that is read out in order while the track is burned. The
// image is made when the track is first measured and dropped at clean-up.
class FolderTrackProducer : public DRTrackProducer {
public:
    explicit FolderTrackProducer(std::shared_ptr<DRFolder> root);
    ~FolderTrackProducer() override;

    uint64_t estimateLengthOfTrack(DRTrack* track) override;
    bool prepareTrack(DRTrack* track, DRBurn* burn, const QVariantMap& media) override;
    uint32_t producePreGapForTrack(DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t* ioFlags) override;
    uint32_t produceDataForTrack(DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t* ioFlags) override;
    void cleanupTrackAfterBurn(DRTrack* track) override;
    QString failureReasonForTrack(DRTrack* track) override { return mError; }

private:
    bool makeImage();
    bool addChildren(Iso_Image* image, Iso_Dir* parent, const DRFolder& folder);
    bool addChild(Iso_Image* image, Iso_Dir* parent, const DRFSObject& child);
    void dropImage();

    std::shared_ptr<DRFolder> mRoot;
    burn_source* mSource = nullptr;
    uint64_t mSizeBytes = 0;
    uint64_t mNextAddress = 0;
    QString mError;
};
