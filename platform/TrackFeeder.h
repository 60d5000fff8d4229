#pragma once

#include "platform/DRTrack.h"

#include <QString>

class DRBurn;

// A burn's hold on one track: the track's properties as they were when the
// burn was set up, and the calls to its producer, with the producer's
// answers checked. Used on the burn's threads only.
class TrackFeeder {
public:
    enum class Part { PreGap, Data };

    // `number` counts from 1 in the layout.
    TrackFeeder(std::shared_ptr<DRTrack> track, int number);

    DRTrack* track() const { return mTrack.get(); }
    int number() const { return mNumber; }
    DRTrack::Format format() const { return mFormat; }
    uint32_t blockSize() const { return mBlockSize; }
    uint64_t preGapBlocks() const { return mPreGapBlocks; }
    uint64_t dataBlocks() const { return mDataBlocks; }
    uint64_t partBytes(Part part) const;

    // Asks the producer for its estimate; the track's DRTrackLengthKey, when
    // set, is the length all the same. False, with the reason, for a track
    // without data.
    bool measure(QString* error);

    bool prepare(DRBurn* burn, const QVariantMap& media, QString* error);
    bool isPrepared() const { return mPrepared; }
    void cleanup();

    // Fills all of `buffer` (`length` bytes, within the part) with the part's
    // bytes from `address` on, asking the producer as often as it takes.
    // False, with the reason, when the producer places nothing.
    bool produce(Part part, char* buffer, uint32_t length, uint64_t address, QString* error);

private:
    QString producerReason(const QString& message);

    std::shared_ptr<DRTrack> mTrack;
    int mNumber;
    DRTrack::Format mFormat;
    uint32_t mBlockSize;
    uint64_t mPreGapBlocks;
    uint64_t mDataBlocks;
    bool mHasLength;
    bool mPrepared = false;
};
