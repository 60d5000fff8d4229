#include "platform/BurnSession.h"

#include "platform/DRDevice.h"
#include "platform/TrackFeeder.h"

BurnSession::BurnSession(std::shared_ptr<DRBurn> burn, const DRLayout& layout, QObject* parent)
    : DiscJob(parent)
    , mBurnObject(std::move(burn))
    , mBurn(*mBurnObject)
{
    for (const std::shared_ptr<DRTrack>& track : layout)
        mFeeders.push_back(std::make_unique<TrackFeeder>(track, int(mFeeders.size()) + 1));
}

BurnSession::~BurnSession() = default;

QList<TrackFeeder*> BurnSession::feeders() const
{
    QList<TrackFeeder*> list;
    for (const std::unique_ptr<TrackFeeder>& feeder : mFeeders)
        list.append(feeder.get());
    return list;
}

DiscJobResult BurnSession::work()
{
    DRDevice* device = mBurn.device().get();
    if (!device)
        return DiscJobResult::failure(tr("No recorder was chosen."));
    if (mFeeders.empty())
        return DiscJobResult::failure(tr("There is nothing to burn."));

    setStatus(tr("Preparing the burn."));
    QString refusal = measureTracks();
    if (refusal.isEmpty())
        refusal = device->refusalForBurn(mBurn, feeders());
    if (refusal.isEmpty())
        refusal = prepareTracks();
    if (!refusal.isEmpty()) {
        cleanupTracks();
        return stopRequested() ? DiscJobResult::stopped(refusal) : DiscJobResult::failure(refusal);
    }

    const DiscJobResult result = device->writeTracks(mBurn, feeders(), *this);
    cleanupTracks();
    return result;
}

QString BurnSession::measureTracks()
{
    QString error;
    for (const std::unique_ptr<TrackFeeder>& feeder : mFeeders) {
        if (!feeder->measure(&error))
            return error;
    }
    return {};
}

QString BurnSession::prepareTracks()
{
    const QVariantMap media = mBurn.device()->mediaInfo();
    QString error;
    for (const std::unique_ptr<TrackFeeder>& feeder : mFeeders) {
        if (stopRequested())
            return tr("The burn was stopped.");
        if (!feeder->prepare(mBurnObject.get(), media, &error))
            return error;
    }
    return {};
}

void BurnSession::cleanupTracks()
{
    for (const std::unique_ptr<TrackFeeder>& feeder : mFeeders)
        feeder->cleanup();
}
