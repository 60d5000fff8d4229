#pragma once

#include "platform/DRBurn.h"
#include "platform/DRTrack.h"
#include "platform/DiscJob.h"

#include <memory>
#include <vector>

class TrackFeeder;

// Burns a layout with the recorder and properties of a DRBurn. The burn and
// the tracks' properties are read when the session is made; the producers
// are called on the session's threads: every track is measured and prepared
// before the first byte is written and cleaned up at the end, whatever the
// outcome.
class BurnSession : public DiscJob {
    Q_OBJECT

public:
    BurnSession(std::shared_ptr<DRBurn> burn, const DRLayout& layout, QObject* parent = nullptr);
    ~BurnSession() override;

    std::shared_ptr<DRBurn> burn() const { return mBurnObject; }

protected:
    DiscJobResult work() override;

private:
    QList<TrackFeeder*> feeders() const;
    QString measureTracks();
    QString prepareTracks();
    void cleanupTracks();

    std::shared_ptr<DRBurn> mBurnObject;
    DRBurn mBurn; // the properties as they were at the start
    std::vector<std::unique_ptr<TrackFeeder>> mFeeders;
};
