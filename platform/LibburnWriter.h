#pragma once

#include "platform/DiscJobResult.h"

#include <QList>
#include <QString>

class DRBurn;
class JobMonitor;
class TrackFeeder;
namespace burn {
struct burn_drive;
struct burn_disc;
}

// Writes prepared Mode 1 data tracks to the disc in a grabbed libburn drive:
// one session, the tracks' data read from their producers through a fifo on
// libburn's own thread, session-at-once when the burn requires it.
class LibburnWriter {
public:
    LibburnWriter(burn::burn_drive* drive, const QString& recorderName);

    DiscJobResult write(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor);

private:
    QString refusalForMedia() const;
    burn::burn_disc* makeDisc(const QList<TrackFeeder*>& tracks);
    DiscJobResult waitForWrite(JobMonitor& monitor);
    QString withLibburnReason(const QString& message) const;

    burn::burn_drive* mDrive;
    QString mRecorderName;
    QString mProducerError;
};
