#pragma once

#include "platform/DRMSF.h"
#include "platform/DiscJobResult.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>

class DRBurn;
class DRErase;
class JobMonitor;
class TrackFeeder;

// Info key: the recorder's device node ("/dev/sr0"); absent for the
// "Disc Image File" recorder.
inline const QString DRDeviceIORegistryEntryPathKey = QStringLiteral("DRDeviceIORegistryEntryPathKey");

// Media description keys, handed to DRTrackProducer::prepareTrack.
inline const QString DRDeviceMediaBlocksFreeKey = QStringLiteral("DRDeviceMediaBlocksFreeKey");
inline const QString DRDeviceMediaIsBlankKey = QStringLiteral("DRDeviceMediaIsBlankKey");

// A recorder: a physical CD recorder found by libburn, or the virtual
// "Disc Image File" recorder that writes what a disc would hold to a file.
//
// The queries and ejectMedia may be slow on a physical recorder (the drive
// is opened for each); run them off the user-interface thread where that
// matters. writeTracks and eraseMedia run on a job's worker thread.
class DRDevice {
public:
    virtual ~DRDevice();

    // Every recorder, in a stable order: the physical ones by device node,
    // then the "Disc Image File" recorder, which is always there. Scans for
    // physical recorders each time (quick when there are none); the same
    // recorder is the same object from one call to the next.
    static QList<std::shared_ptr<DRDevice>> devices();

    // The "Disc Image File" recorder alone, without a scan.
    static std::shared_ptr<DRDevice> discImageFileDevice();

    virtual QString displayName() const = 0;
    virtual QVariantMap info() const = 0;
    virtual void ejectMedia() = 0;
    virtual DRMSF mediaSpaceFree() = 0;
    // The media keys above, for the producers.
    virtual QVariantMap mediaInfo();

    // Whether the recorder can write raw 2352-byte Mode 2 tracks (a Video CD).
    virtual bool canWriteRawMode2() const = 0;
    // True for the recorder that writes an image file instead of a disc.
    virtual bool writesImageFile() const { return false; }

    // Why this recorder cannot write these tracks for `burn`, in words;
    // empty when it can. Checked before any track is prepared.
    virtual QString refusalForBurn(const DRBurn& burn, const QList<TrackFeeder*>& tracks) const = 0;

    // Writes the prepared tracks, in order, to the disc or the image file.
    virtual DiscJobResult writeTracks(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor) = 0;

    // Blanks a rewritable disc.
    virtual DiscJobResult eraseMedia(const DRErase& erase, JobMonitor& monitor) = 0;

protected:
    DRDevice() = default;
};
