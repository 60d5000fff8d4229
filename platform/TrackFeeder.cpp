#include "platform/TrackFeeder.h"

#include "platform/DRTrackProducer.h"

#include <QCoreApplication>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("TrackFeeder", text);
}
}

TrackFeeder::TrackFeeder(std::shared_ptr<DRTrack> track, int number)
    : mTrack(std::move(track))
    , mNumber(number)
    , mFormat(mTrack->format())
    , mBlockSize(mTrack->blockSize())
    , mPreGapBlocks(mTrack->preGapLength())
    , mDataBlocks(mTrack->length())
    , mHasLength(mTrack->hasLength())
{
}

uint64_t TrackFeeder::partBytes(Part part) const
{
    return (part == Part::PreGap ? mPreGapBlocks : mDataBlocks) * mBlockSize;
}

bool TrackFeeder::measure(QString* error)
{
    const uint64_t estimate = mTrack->producer()->estimateLengthOfTrack(mTrack.get());
    if (!mHasLength)
        mDataBlocks = estimate;
    if (mDataBlocks == 0)
        *error = producerReason(tr("Track %1 holds no data.").arg(mNumber));
    return mDataBlocks > 0;
}

bool TrackFeeder::prepare(DRBurn* burn, const QVariantMap& media, QString* error)
{
    mPrepared = mTrack->producer()->prepareTrack(mTrack.get(), burn, media);
    if (!mPrepared)
        *error = producerReason(tr("Track %1 could not be prepared for burning.").arg(mNumber));
    return mPrepared;
}

void TrackFeeder::cleanup()
{
    if (mPrepared)
        mTrack->producer()->cleanupTrackAfterBurn(mTrack.get());
    mPrepared = false;
}

bool TrackFeeder::produce(Part part, char* buffer, uint32_t length, uint64_t address, QString* error)
{
    DRTrackProducer* producer = mTrack->producer();
    uint32_t placed = 0;
    while (placed < length) {
        uint32_t flags = 0;
        const uint32_t asked = length - placed;
        const uint32_t answer = part == Part::PreGap
            ? producer->producePreGapForTrack(
                mTrack.get(), buffer + placed, asked, address + placed, mBlockSize, &flags)
            : producer->produceDataForTrack(mTrack.get(), buffer + placed, asked, address + placed, mBlockSize, &flags);
        if (answer == 0 || answer > asked) {
            const QString what = part == Part::PreGap ? tr("pregap") : tr("data");
            *error = producerReason(
                tr("The %1 of track %2 could not be read at byte %3.").arg(what).arg(mNumber).arg(address + placed));
            return false;
        }
        placed += answer;
    }
    return true;
}

QString TrackFeeder::producerReason(const QString& message)
{
    const QString reason = mTrack->producer()->failureReasonForTrack(mTrack.get());
    return reason.isEmpty() ? message : message + QLatin1Char(' ') + reason;
}
