#pragma once

#include "platform/DRTrack.h"
#include "platform/DRTrackProducer.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QThread>

#include <mutex>

// A producer for tests: every block it serves says which track, which part
// and which block it is, so a written image shows whether each block landed
// in its place. It records the calls it gets and can be told to misbehave.
class NumberedSectorProducer : public DRTrackProducer {
public:
    struct TrackShape {
        int number;
        uint64_t preGapBlocks;
        uint64_t dataBlocks;
    };

    // The block of `track`'s pregap (`preGap`) or data with index `block`.
    static QByteArray block(int track, bool preGap, uint64_t block, uint32_t blockSize);

    // Raw Mode 2 tracks (2352-byte blocks, session format 0x20) made with
    // this producer, with the track properties a Video CD layout carries.
    static DRLayout rawLayout(const std::shared_ptr<NumberedSectorProducer>& producer, const QList<TrackShape>& shapes);

    // Answer at most this many bytes a call (0: the whole buffer).
    uint32_t maxBytesPerCall = 0;
    // prepareTrack answers false for this track number.
    int refusePreparingTrack = 0;
    // produceDataForTrack answers 0 from this data block of the last track on.
    int64_t failAtDataBlock = -1;

    QStringList calls() const;
    uint32_t largestRequest() const;
    int openTracks() const;
    // The threads the producer was called on.
    QSet<QThread*> callingThreads() const;

    uint64_t estimateLengthOfTrack(DRTrack* track) override;
    bool prepareTrack(DRTrack* track, DRBurn* burn, const QVariantMap& media) override;
    uint32_t producePreGapForTrack(DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t* ioFlags) override;
    uint32_t produceDataForTrack(DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address,
        uint32_t blockSize, uint32_t* ioFlags) override;
    void cleanupTrackAfterBurn(DRTrack* track) override;
    QString failureReasonForTrack(DRTrack* track) override;

private:
    uint32_t produce(
        DRTrack* track, bool preGap, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize);
    void record(const QString& call);

    mutable std::mutex mMutex;
    QHash<const DRTrack*, int> mNumbers;
    QHash<const DRTrack*, bool> mPrepared;
    QStringList mCalls;
    uint32_t mLargestRequest = 0;
    QSet<QThread*> mThreads;
    int mLastTrack = 0;
};
