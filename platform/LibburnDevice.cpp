#include "platform/LibburnDevice.h"

#include "platform/DRErase.h"
#include "platform/JobMonitor.h"
#include "platform/Libburn.h"
#include "platform/LibburnDrive.h"
#include "platform/LibburnWriter.h"
#include "platform/TrackFeeder.h"

#include <libburn/libburn.h>

using namespace burn;

#include <QCoreApplication>
#include <QHash>
#include <QThread>

namespace {
constexpr int kPollMilliseconds = 100;
constexpr int kBlankProgressSteps = 0x10000;

QString tr(const char* text)
{
    return QCoreApplication::translate("LibburnDevice", text);
}
}

LibburnDevice::LibburnDevice(const QString& address, const QString& vendor, const QString& product)
    : mAddress(address)
    , mVendor(vendor)
    , mProduct(product)
{
}

QList<std::shared_ptr<DRDevice>> LibburnDevice::scan()
{
    static std::mutex knownMutex;
    static QHash<QString, std::shared_ptr<DRDevice>> known;
    static QList<std::shared_ptr<DRDevice>> lastList;

    bool ok = false;
    const QList<Libburn::DriveEntry> entries = Libburn::scan(&ok);
    std::lock_guard<std::mutex> guard(knownMutex);
    if (!ok)
        return lastList;
    QList<std::shared_ptr<DRDevice>> devices;
    for (const Libburn::DriveEntry& entry : entries) {
        std::shared_ptr<DRDevice>& device = known[entry.address];
        if (!device)
            device = std::make_shared<LibburnDevice>(entry.address, entry.vendor, entry.product);
        devices.append(device);
    }
    lastList = devices;
    return devices;
}

QString LibburnDevice::displayName() const
{
    return QStringList { mVendor, mProduct }.join(QLatin1Char(' ')).trimmed();
}

QVariantMap LibburnDevice::info() const
{
    return { { DRDeviceIORegistryEntryPathKey, mAddress } };
}

void LibburnDevice::ejectMedia()
{
    LibburnDrive drive(mAddress);
    drive.setEjectOnRelease(true);
}

uint32_t LibburnDevice::freeBlocks()
{
    LibburnDrive drive(mAddress);
    if (!drive.drive())
        return 0;
    const burn_disc_status status = burn_disc_get_status(drive.drive());
    if (status != BURN_DISC_BLANK && status != BURN_DISC_APPENDABLE)
        return 0;
    return uint32_t(burn_disc_available_space(drive.drive(), nullptr) / DRTrack::kMode1BlockSize);
}

DRMSF LibburnDevice::mediaSpaceFree()
{
    const uint32_t blocks = freeBlocks();
    return blocks == 0 ? DRMSF() : DRMSF(blocks + uint32_t(DRTrack::kDefaultPreGapLength));
}

QVariantMap LibburnDevice::mediaInfo()
{
    const uint32_t blocks = freeBlocks();
    return { { DRDeviceMediaBlocksFreeKey, quint64(blocks) }, { DRDeviceMediaIsBlankKey, blocks > 0 } };
}

QString LibburnDevice::refusalForBurn(const DRBurn& burn, const QList<TrackFeeder*>& tracks) const
{
    for (const TrackFeeder* track : tracks) {
        if (track->format() == DRTrack::Format::Mode2Raw) {
            return tr("The recorder %1 cannot write Video CD tracks (raw Mode 2 sectors) through libburn. "
                      "Choose cdrdao as the burning engine in the preferences, or write a disc image file.")
                .arg(displayName());
        }
        if (track->format() != DRTrack::Format::Mode1Data)
            return tr("Track %1 has a format that the recorder %2 cannot write.")
                .arg(track->number())
                .arg(displayName());
    }
    return {};
}

DiscJobResult LibburnDevice::writeTracks(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor)
{
    LibburnDrive drive(mAddress);
    if (!drive.drive())
        return DiscJobResult::failure(drive.error());
    return LibburnWriter(drive.drive(), displayName()).write(burn, tracks, monitor);
}

DiscJobResult LibburnDevice::eraseMedia(const DRErase& erase, JobMonitor& monitor)
{
    LibburnDrive drive(mAddress);
    if (!drive.drive())
        return DiscJobResult::failure(drive.error());
    burn_drive* handle = drive.drive();
    if (burn_disc_get_status(handle) == BURN_DISC_EMPTY)
        return DiscJobResult::failure(tr("There is no disc in the recorder %1.").arg(displayName()));
    if (!burn_disc_erasable(handle))
        return DiscJobResult::failure(tr("The disc in the recorder %1 cannot be erased.").arg(displayName()));

    monitor.setStatus(tr("Erasing the disc."));
    burn_disc_erase(handle, erase.isQuick() ? 1 : 0);
    // Blanking cannot be interrupted once the drive has it: Stop is not offered.
    burn_progress progress = {};
    QThread::msleep(kPollMilliseconds);
    while (burn_drive_get_status(handle, &progress) != BURN_DRIVE_IDLE) {
        monitor.setFractionDone(double(progress.sector) / kBlankProgressSteps);
        QThread::msleep(kPollMilliseconds);
    }
    if (!burn_drive_wrote_well(handle)) {
        const QString reason = Libburn::takeErrorMessage();
        return DiscJobResult::failure(
            tr("Erasing the disc failed.") + (reason.isEmpty() ? QString() : QLatin1Char(' ') + reason));
    }
    monitor.setFractionDone(1.0);
    return DiscJobResult::success(tr("The disc is erased."));
}
