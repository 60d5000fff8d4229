#include "common/NumberedSectorProducer.h"

#include <cstring>

QByteArray NumberedSectorProducer::block(int track, bool preGap, uint64_t block, uint32_t blockSize)
{
    QByteArray bytes(int(blockSize), char(track * 16 + (preGap ? 1 : 2)));
    const QByteArray label
        = QStringLiteral("track %1 %2 block %3").arg(track).arg(preGap ? "pregap" : "data").arg(block).toLatin1();
    std::memcpy(bytes.data(), label.constData(), size_t(label.size()));
    return bytes;
}

DRLayout NumberedSectorProducer::rawLayout(
    const std::shared_ptr<NumberedSectorProducer>& producer, const QList<TrackShape>& shapes)
{
    DRLayout layout;
    for (const TrackShape& shape : shapes) {
        auto track = std::make_shared<DRTrack>(producer);
        track->setProperties({ { DRTrackLengthKey, quint64(shape.dataBlocks) }, { DRBlockSizeKey, 2352 },
            { DRBlockTypeKey, 0 }, { DRDataFormKey, 0x21 }, { DRSessionFormatKey, 0x20 }, { DRTrackModeKey, 4 },
            { DRVerificationTypeKey, DRVerificationTypeNone }, { DRPreGapLengthKey, quint64(shape.preGapBlocks) } });
        std::lock_guard<std::mutex> guard(producer->mMutex);
        producer->mNumbers.insert(track.get(), shape.number);
        producer->mLastTrack = shape.number;
        layout.append(track);
    }
    return layout;
}

QStringList NumberedSectorProducer::calls() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return mCalls;
}

uint32_t NumberedSectorProducer::largestRequest() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return mLargestRequest;
}

int NumberedSectorProducer::openTracks() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    int open = 0;
    for (bool prepared : mPrepared)
        open += prepared ? 1 : 0;
    return open;
}

QSet<QThread*> NumberedSectorProducer::callingThreads() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return mThreads;
}

void NumberedSectorProducer::record(const QString& call)
{
    std::lock_guard<std::mutex> guard(mMutex);
    mThreads.insert(QThread::currentThread());
    if (mCalls.isEmpty() || mCalls.last() != call)
        mCalls.append(call);
}

uint64_t NumberedSectorProducer::estimateLengthOfTrack(DRTrack* track)
{
    record(QStringLiteral("estimate %1").arg(mNumbers.value(track)));
    return track->length();
}

bool NumberedSectorProducer::prepareTrack(DRTrack* track, DRBurn*, const QVariantMap&)
{
    const int number = mNumbers.value(track);
    record(QStringLiteral("prepare %1").arg(number));
    if (number == refusePreparingTrack)
        return false;
    std::lock_guard<std::mutex> guard(mMutex);
    mPrepared.insert(track, true);
    return true;
}

uint32_t NumberedSectorProducer::producePreGapForTrack(
    DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t*)
{
    record(QStringLiteral("pregap %1").arg(mNumbers.value(track)));
    return produce(track, true, buffer, bufferLength, address, blockSize);
}

uint32_t NumberedSectorProducer::produceDataForTrack(
    DRTrack* track, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t*)
{
    record(QStringLiteral("data %1").arg(mNumbers.value(track)));
    const int number = mNumbers.value(track);
    if (failAtDataBlock >= 0 && number == mLastTrack && address + bufferLength > uint64_t(failAtDataBlock) * blockSize)
        return 0;
    return produce(track, false, buffer, bufferLength, address, blockSize);
}

uint32_t NumberedSectorProducer::produce(
    DRTrack* track, bool preGap, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize)
{
    {
        std::lock_guard<std::mutex> guard(mMutex);
        mLargestRequest = std::max(mLargestRequest, bufferLength);
    }
    const uint32_t count = maxBytesPerCall ? std::min(maxBytesPerCall, bufferLength) : bufferLength;
    const int number = mNumbers.value(track);
    for (uint32_t i = 0; i < count;) {
        const uint64_t byte = address + i;
        const QByteArray whole = block(number, preGap, byte / blockSize, blockSize);
        const uint32_t offset = uint32_t(byte % blockSize);
        const uint32_t piece = std::min(count - i, blockSize - offset);
        std::memcpy(buffer + i, whole.constData() + offset, piece);
        i += piece;
    }
    return count;
}

void NumberedSectorProducer::cleanupTrackAfterBurn(DRTrack* track)
{
    record(QStringLiteral("cleanup %1").arg(mNumbers.value(track)));
    std::lock_guard<std::mutex> guard(mMutex);
    mPrepared.insert(track, false);
}

QString NumberedSectorProducer::failureReasonForTrack(DRTrack* track)
{
    return QStringLiteral("(test producer: track %1 refused)").arg(mNumbers.value(track));
}
