#pragma once

#include "VCDBurner/TrackContext.h"
#include "platform/DRTrack.h"
#include "platform/DRTrackProducer.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QStringList>

#include <memory>
#include <optional>

class DRBurn;

// Burns a Video CD image that vcdxbuild wrote in cdrdao form through the
// disc-recording layer: reads the image's TOC into a layout of raw Mode 2
// tracks written session-at-once, and serves their sectors straight from the
// image files while they are burned.
//
// The layout's tracks keep their VCDBurner alive. The producer calls come
// from a burn's worker thread while the main thread may be laying out another
// burn, so the track contexts are guarded by a mutex.
class VCDBurner : public DRTrackProducer, public std::enable_shared_from_this<VCDBurner>
{
    struct Passkey
    {
    };

public:
    static constexpr uint32_t kBlockSize = 2352;
    static constexpr uint64_t kFirstTrackPreGapLength = 150;
    static constexpr uint32_t kOldestServiceVersion = 0x02100000; // the service must be newer

    // The layout for the TOC at `tocPath`, or nothing when it cannot be made;
    // then `reason` says why, for the log (the caller burns with cdrdao).
    static std::optional<DRLayout> layoutForCDRDAOTOC(const QString &tocPath, QString *reason = nullptr);

    // A reader of the TOC, or nothing (with the reason) when the TOC is not of
    // the kind read here or the disc-recording layer is too old.
    static std::shared_ptr<VCDBurner> initWithCDRDAOTOC(const QString &tocPath, QString *reason = nullptr);

    static bool serviceVersionIsSupported(uint32_t version);

    // No verification, session-at-once required; the burn's other properties
    // are kept.
    static DRBurn *modifyBurnProperties(DRBurn *burn);

    VCDBurner(Passkey, const QList<QStringList> &trackList);
    ~VCDBurner() override;

    VCDBurner(const VCDBurner &) = delete;
    VCDBurner &operator=(const VCDBurner &) = delete;

    // One track per TOC track, in order, or nothing (with the reason).
    std::optional<DRLayout> layout(QString *reason = nullptr);

    std::optional<TrackContext> trackContext(const DRTrack *track) const;

    uint64_t estimateLengthOfTrack(DRTrack *track) override;
    bool prepareTrack(DRTrack *track, DRBurn *burn, const QVariantMap &media) override;
    uint32_t producePreGapForTrack(DRTrack *track, char *buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t *ioFlags) override;
    uint32_t produceDataForTrack(DRTrack *track, char *buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t *ioFlags) override;
    void cleanupTrackAfterBurn(DRTrack *track) override;

private:
    struct Source
    {
        std::optional<int> descriptor;
        uint64_t blocks = 0;
    };

    static void raiseOpenFileLimit();
    static std::optional<int> openFileDescriptorForPath(const QString &path);
    static void closeFileDescriptor(std::optional<int> descriptor);
    static uint64_t readBytes(uint32_t count, char *buffer, std::optional<int> descriptor, uint64_t offset);
    static uint32_t produceFrom(
        const Source &source, char *buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize);

    std::shared_ptr<DRTrack> layoutTrack(uint32_t trackNumber, const QStringList &files, QString *reason);
    Source sourceFor(const DRTrack *track, bool preGap) const;
    void forgetTracks(const DRLayout &tracks);

    const QList<QStringList> mTrackList;
    mutable QMutex mContextMutex;
    QHash<const DRTrack *, TrackContext> mContext;
};
