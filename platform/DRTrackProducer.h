#pragma once

#include <QString>
#include <QVariantMap>

#include <cstdint>

class DRBurn;
class DRTrack;

// What feeds a track's bytes to a burn. A burn calls, for every track of its
// layout: estimateLengthOfTrack, then prepareTrack (all tracks are prepared
// before the first byte is written), then producePreGapForTrack until the
// track's pregap is served and produceDataForTrack until its data are
// served, and cleanupTrackAfterBurn once at the end for every track that was
// prepared, whether the burn succeeded or not.
//
// All calls of one burn come from that burn's own threads, one call at a
// time, never from the user-interface thread. The track is passed by identity:
// the same DRTrack object from preparation to clean-up.
class DRTrackProducer {
public:
    virtual ~DRTrackProducer() = default;

    // Length of the track's data in blocks; used when the track has no
    // DRTrackLengthKey property.
    virtual uint64_t estimateLengthOfTrack(DRTrack* track) = 0;

    // False: the track cannot be served, and the burn fails before writing
    // anything. `media` describes the disc to be written (DRDevice's media
    // keys).
    virtual bool prepareTrack(DRTrack* track, DRBurn* burn, const QVariantMap& media) = 0;

    // Fill `buffer` (bufferLength bytes, a whole number of blocks) with the
    // bytes that start `address` bytes into the pregap, or into the data;
    // answer how many bytes were placed. The burn asks for many blocks at
    // once and never past the end; an answer of 0 while bytes remain fails
    // the burn. `ioFlags` is reserved and may be left alone.
    virtual uint32_t producePreGapForTrack(
        DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t* ioFlags)
        = 0;
    virtual uint32_t produceDataForTrack(
        DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t* ioFlags)
        = 0;

    virtual void cleanupTrackAfterBurn(DRTrack* track) = 0;

    // Why prepareTrack or a produce call failed, in words for the user; empty
    // when the producer has nothing to add to the burn's own message.
    virtual QString failureReasonForTrack(DRTrack* track) { return {}; }
};
