#pragma once

#include "platform/DRDevice.h"

// A physical CD recorder, reached through libburn by its device node. libburn
// writes Mode 1 data tracks but no raw Mode 2 sectors, so a Video CD layout
// is refused here (cdrdao writes those).
class LibburnDevice : public DRDevice {
public:
    LibburnDevice(const QString& address, const QString& vendor, const QString& product);

    // The recorders libburn finds now, the same objects for the same device
    // nodes as the last scan. When the scan fails (a drive is busy burning)
    // the last list is kept.
    static QList<std::shared_ptr<DRDevice>> scan();

    QString address() const { return mAddress; }

    QString displayName() const override;
    QVariantMap info() const override;
    void ejectMedia() override;
    DRMSF mediaSpaceFree() override;
    QVariantMap mediaInfo() override;
    bool canWriteRawMode2() const override { return false; }
    QString refusalForBurn(const DRBurn& burn, const QList<TrackFeeder*>& tracks) const override;
    DiscJobResult writeTracks(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor) override;
    DiscJobResult eraseMedia(const DRErase& erase, JobMonitor& monitor) override;

private:
    uint32_t freeBlocks();

    QString mAddress;
    QString mVendor;
    QString mProduct;
};
