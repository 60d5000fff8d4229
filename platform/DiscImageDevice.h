#pragma once

#include "platform/DRDevice.h"

// The virtual recorder "Disc Image File": it writes what a disc would hold
// to the file named by the burn (DRBurnImageFileKey) and always holds an
// empty 80-minute disc. A single data track becomes an ISO 9660 image file;
// any other layout (a Video CD's raw Mode 2 tracks) a BIN file and a CUE
// sheet beside it.
class DiscImageDevice : public DRDevice {
public:
    static constexpr int kDiscMinutes = 80;

    QString displayName() const override;
    QVariantMap info() const override { return {}; }
    void ejectMedia() override { }
    DRMSF mediaSpaceFree() override { return DRMSF(kDiscMinutes, 0, 0); }
    bool canWriteRawMode2() const override { return true; }
    bool writesImageFile() const override { return true; }
    QString refusalForBurn(const DRBurn& burn, const QList<TrackFeeder*>& tracks) const override;
    DiscJobResult writeTracks(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor) override;
    DiscJobResult eraseMedia(const DRErase& erase, JobMonitor& monitor) override;
};
