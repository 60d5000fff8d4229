#include "platform/DiscImageDevice.h"

#include "platform/DRBurn.h"
#include "platform/DiscImageWriter.h"
#include "platform/TrackFeeder.h"

#include <QCoreApplication>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("DiscImageDevice", text);
}

uint64_t blocksOnDisc(const QList<TrackFeeder*>& tracks)
{
    uint64_t blocks = 0;
    for (const TrackFeeder* track : tracks)
        blocks += track->preGapBlocks() + track->dataBlocks();
    return blocks;
}
}

QString DiscImageDevice::displayName() const
{
    return tr("Disc Image File");
}

QString DiscImageDevice::refusalForBurn(const DRBurn& burn, const QList<TrackFeeder*>& tracks) const
{
    if (burn.imageFile().isEmpty())
        return tr("No file was chosen for the disc image.");
    if (burn.imageFile().contains(QLatin1Char('"')))
        return tr("The name of a disc image file cannot hold a double quote.");
    for (const TrackFeeder* track : tracks) {
        if (track->format() == DRTrack::Format::Unsupported)
            return tr("Track %1 has a format that cannot be written to a disc image.").arg(track->number());
    }
    const DRMSF needed(uint32_t(qMin<uint64_t>(blocksOnDisc(tracks), UINT32_MAX)));
    if (needed.totalFrames() > DRMSF(kDiscMinutes, 0, 0).totalFrames())
        return tr("The disc needs %1 (minutes:seconds:frames), more than the %2 minutes a disc holds.")
            .arg(needed.description())
            .arg(kDiscMinutes);
    return {};
}

DiscJobResult DiscImageDevice::writeTracks(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor)
{
    return DiscImageWriter(burn.imageFile(), tracks, monitor).write();
}

DiscJobResult DiscImageDevice::eraseMedia(const DRErase&, JobMonitor&)
{
    return DiscJobResult::failure(tr("The Disc Image File recorder holds no disc: there is nothing to erase."));
}
