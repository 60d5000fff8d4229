#pragma once

#include "platform/DiscJobResult.h"
#include "platform/TrackFeeder.h"

#include <QList>
#include <QSaveFile>
#include <QString>

#include <vector>

class JobMonitor;

// Writes prepared tracks to image files: one data track as an ISO 9660 image
// under the chosen name; anything else as a BIN file (every track's pregap
// and data, except the 150-block pregap of track 1, which a cue sheet leaves
// implicit) and a CUE sheet naming it. The files appear only when the whole
// disc is written; a failed or stopped burn leaves nothing behind.
class DiscImageWriter {
public:
    // Blocks asked of a producer at once.
    static constexpr uint32_t kBlocksPerCall = 448;

    DiscImageWriter(const QString& imageFile, const QList<TrackFeeder*>& tracks, JobMonitor& monitor);

    DiscJobResult write();

    // Where a BIN/CUE pair goes for the chosen name: a ".bin" or ".cue"
    // ending is replaced, any other name gets both endings added.
    static QString binPathFor(const QString& imageFile);
    static QString cuePathFor(const QString& imageFile);

private:
    bool isPlainDataImage() const;
    uint64_t storedBlocks(const TrackFeeder& track, TrackFeeder::Part part) const;
    bool writeTrackPart(TrackFeeder& track, TrackFeeder::Part part, QSaveFile& file);
    DiscJobResult commitWithCueSheet(QSaveFile& bin);
    DiscJobResult finished(const QString& path);
    QByteArray cueSheet(const QString& binName) const;
    DiscJobResult failure(const QString& message) const;

    QString mImageFile;
    QList<TrackFeeder*> mTracks;
    JobMonitor& mMonitor;
    std::vector<char> mBuffer;
    uint64_t mBytesToWrite = 0;
    uint64_t mBytesWritten = 0;
    QString mError;
    bool mStopped = false;
};
