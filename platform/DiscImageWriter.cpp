#include "platform/DiscImageWriter.h"

#include "platform/DRMSF.h"
#include "platform/JobMonitor.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("DiscImageWriter", text);
}

QString basePathFor(const QString& imageFile)
{
    for (const char* ending : { ".bin", ".cue" }) {
        if (imageFile.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
            return imageFile.chopped(4);
    }
    return imageFile;
}

const char* cueTrackType(DRTrack::Format format)
{
    return format == DRTrack::Format::Mode1Data ? "MODE1/2048" : "MODE2/2352";
}
}

DiscImageWriter::DiscImageWriter(const QString& imageFile, const QList<TrackFeeder*>& tracks, JobMonitor& monitor)
    : mImageFile(imageFile)
    , mTracks(tracks)
    , mMonitor(monitor)
{
}

QString DiscImageWriter::binPathFor(const QString& imageFile)
{
    return basePathFor(imageFile) + QStringLiteral(".bin");
}

QString DiscImageWriter::cuePathFor(const QString& imageFile)
{
    return basePathFor(imageFile) + QStringLiteral(".cue");
}

bool DiscImageWriter::isPlainDataImage() const
{
    return mTracks.size() == 1 && mTracks.first()->format() == DRTrack::Format::Mode1Data;
}

uint64_t DiscImageWriter::storedBlocks(const TrackFeeder& track, TrackFeeder::Part part) const
{
    if (part == TrackFeeder::Part::Data)
        return track.dataBlocks();
    if (isPlainDataImage())
        return 0;
    // Track 1's first 150 blocks are the gap every disc begins with; a BIN
    // file starts after it.
    if (track.number() == 1)
        return track.preGapBlocks() - qMin<uint64_t>(track.preGapBlocks(), DRTrack::kDefaultPreGapLength);
    return track.preGapBlocks();
}

DiscJobResult DiscImageWriter::write()
{
    const QString dataPath = isPlainDataImage() ? mImageFile : binPathFor(mImageFile);
    QSaveFile data(dataPath);
    if (!data.open(QIODevice::WriteOnly))
        return failure(tr("The image file %1 cannot be written: %2").arg(dataPath, data.errorString()));

    for (const TrackFeeder* track : mTracks) {
        for (TrackFeeder::Part part : { TrackFeeder::Part::PreGap, TrackFeeder::Part::Data })
            mBytesToWrite += storedBlocks(*track, part) * track->blockSize();
    }
    for (TrackFeeder* track : mTracks) {
        mMonitor.setStatus(tr("Writing track %1 of %2.").arg(track->number()).arg(mTracks.size()));
        for (TrackFeeder::Part part : { TrackFeeder::Part::PreGap, TrackFeeder::Part::Data }) {
            if (!writeTrackPart(*track, part, data))
                return failure(mError);
        }
    }

    mMonitor.setStatus(tr("Finishing the image file."));
    if (!isPlainDataImage())
        return commitWithCueSheet(data);
    if (!data.commit())
        return failure(tr("The image file %1 cannot be written: %2").arg(dataPath, data.errorString()));
    return finished(dataPath);
}

DiscJobResult DiscImageWriter::commitWithCueSheet(QSaveFile& bin)
{
    QSaveFile cue(cuePathFor(mImageFile));
    const QString cueError = tr("The cue sheet %1 cannot be written: %2");
    if (!cue.open(QIODevice::WriteOnly) || cue.write(cueSheet(QFileInfo(bin.fileName()).fileName())) < 0)
        return failure(cueError.arg(cue.fileName(), cue.errorString()));
    if (!bin.commit())
        return failure(tr("The image file %1 cannot be written: %2").arg(bin.fileName(), bin.errorString()));
    if (!cue.commit()) {
        QFile::remove(bin.fileName());
        return failure(cueError.arg(cue.fileName(), cue.errorString()));
    }
    return finished(cue.fileName());
}

DiscJobResult DiscImageWriter::finished(const QString& path)
{
    mMonitor.setFractionDone(1.0);
    return DiscJobResult::success(tr("The disc image is written to %1.").arg(path));
}

bool DiscImageWriter::writeTrackPart(TrackFeeder& track, TrackFeeder::Part part, QSaveFile& file)
{
    const uint64_t blockSize = track.blockSize();
    const uint64_t end = track.partBytes(part);
    uint64_t address = end - storedBlocks(track, part) * blockSize;
    mBuffer.resize(size_t(kBlocksPerCall * blockSize));
    while (address < end) {
        if (mMonitor.stopRequested()) {
            mStopped = true;
            mError = tr("The burn was stopped; no image file was written.");
            return false;
        }
        const uint32_t length = uint32_t(qMin<uint64_t>(mBuffer.size(), end - address));
        if (!track.produce(part, mBuffer.data(), length, address, &mError))
            return false;
        if (file.write(mBuffer.data(), length) != qint64(length)) {
            mError = tr("The image file %1 cannot be written: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        address += length;
        mBytesWritten += length;
        mMonitor.setFractionDone(double(mBytesWritten) / double(mBytesToWrite));
    }
    return true;
}

QByteArray DiscImageWriter::cueSheet(const QString& binName) const
{
    QByteArray sheet = "FILE \"" + binName.toUtf8() + "\" BINARY\n";
    uint32_t position = 0; // blocks into the BIN file
    for (const TrackFeeder* track : mTracks) {
        sheet += QStringLiteral("  TRACK %1 %2\n")
                     .arg(track->number(), 2, 10, QLatin1Char('0'))
                     .arg(QLatin1String(cueTrackType(track->format())))
                     .toUtf8();
        const uint32_t preGap = uint32_t(storedBlocks(*track, TrackFeeder::Part::PreGap));
        if (preGap > 0)
            sheet += "    INDEX 00 " + DRMSF(position).description().toUtf8() + '\n';
        position += preGap;
        sheet += "    INDEX 01 " + DRMSF(position).description().toUtf8() + '\n';
        position += uint32_t(track->dataBlocks());
    }
    return sheet;
}

DiscJobResult DiscImageWriter::failure(const QString& message) const
{
    return mStopped ? DiscJobResult::stopped(message) : DiscJobResult::failure(message);
}
