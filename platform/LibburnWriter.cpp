#include "platform/LibburnWriter.h"

#include "platform/DRBurn.h"
#include "platform/JobMonitor.h"
#include "platform/Libburn.h"
#include "platform/TrackFeeder.h"

#include <libburn/libburn.h>

using namespace burn;

#include <QCoreApplication>
#include <QThread>

#include <cstring>

namespace {
constexpr int kPollMilliseconds = 100;
constexpr int kFifoChunkBytes = 2048;
constexpr int kFifoChunks = 2048; // 4 MB between the producers and the drive

QString tr(const char* text)
{
    return QCoreApplication::translate("LibburnWriter", text);
}

// A libburn data source that reads one track's data from its producer.
struct FeederSource {
    TrackFeeder* feeder;
    QString* error;
    uint64_t address = 0;
};

int readFeeder(burn_source* source, unsigned char* buffer, int size)
{
    auto* state = static_cast<FeederSource*>(source->data);
    const uint64_t end = state->feeder->partBytes(TrackFeeder::Part::Data);
    const uint32_t length = uint32_t(qMin<uint64_t>(uint64_t(size), end - state->address));
    if (length == 0)
        return 0;
    if (!state->feeder->produce(
            TrackFeeder::Part::Data, reinterpret_cast<char*>(buffer), length, state->address, state->error))
        return -1;
    state->address += length;
    return int(length);
}

off_t feederSize(burn_source* source)
{
    return off_t(static_cast<FeederSource*>(source->data)->feeder->partBytes(TrackFeeder::Part::Data));
}

int keepSize(burn_source*, off_t)
{
    return 1;
}

void freeFeederSource(burn_source* source)
{
    delete static_cast<FeederSource*>(source->data);
}

burn_source* newFeederSource(TrackFeeder* feeder, QString* error)
{
    auto* source = static_cast<burn_source*>(calloc(1, sizeof(burn_source)));
    source->refcount = 1;
    source->get_size = feederSize;
    source->set_size = keepSize;
    source->free_data = freeFeederSource;
    source->data = new FeederSource { feeder, error };
    source->version = 1;
    source->read_xt = readFeeder;
    return source;
}
}

LibburnWriter::LibburnWriter(burn_drive* drive, const QString& recorderName)
    : mDrive(drive)
    , mRecorderName(recorderName)
{
}

DiscJobResult LibburnWriter::write(const DRBurn& burn, const QList<TrackFeeder*>& tracks, JobMonitor& monitor)
{
    const QString refusal = refusalForMedia();
    if (!refusal.isEmpty())
        return DiscJobResult::failure(refusal);

    burn_disc* disc = makeDisc(tracks);
    burn_write_opts* options = burn_write_opts_new(mDrive);
    burn_write_opts_set_perform_opc(options, 0);
    burn_write_opts_set_underrun_proof(options, 1);
    burn_write_opts_set_multi(options, burn.appendable() ? 1 : 0);
    char reasons[BURN_REASONS_LEN] = {};
    const bool sessionAtOnce = burn.properties().value(DRBurnStrategyKey) == DRBurnStrategyCDSAO;
    const bool typeChosen = sessionAtOnce
        ? burn_write_opts_set_write_type(options, BURN_WRITE_SAO, BURN_BLOCK_SAO) > 0
        : burn_write_opts_auto_write_type(options, disc, reasons, 0) != BURN_WRITE_NONE;
    DiscJobResult result;
    if (!typeChosen || burn_precheck_write(options, disc, reasons, 1) <= 0) {
        result = DiscJobResult::failure(tr("The disc in the recorder %1 cannot be written this way: %2")
                                            .arg(mRecorderName, QString::fromLocal8Bit(reasons)));
    } else {
        monitor.setStatus(tr("Writing the disc."));
        burn_disc_write(options, disc);
        result = waitForWrite(monitor);
    }
    burn_write_opts_free(options);
    burn_disc_free(disc);
    return result;
}

QString LibburnWriter::refusalForMedia() const
{
    burn_disc_status status;
    while ((status = burn_disc_get_status(mDrive)) == BURN_DISC_UNREADY)
        QThread::msleep(kPollMilliseconds);
    if (status == BURN_DISC_EMPTY)
        return tr("There is no disc in the recorder %1.").arg(mRecorderName);
    if (status != BURN_DISC_BLANK && status != BURN_DISC_APPENDABLE)
        return tr("The disc in the recorder %1 cannot be written: it is full or not a recordable disc.")
            .arg(mRecorderName);
    return {};
}

burn_disc* LibburnWriter::makeDisc(const QList<TrackFeeder*>& tracks)
{
    burn_disc* disc = burn_disc_create();
    burn_session* session = burn_session_create();
    burn_disc_add_session(disc, session, BURN_POS_END);
    for (TrackFeeder* feeder : tracks) {
        burn_track* track = burn_track_create();
        burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
        burn_source* source = newFeederSource(feeder, &mProducerError);
        burn_source* fifo = burn_fifo_source_new(source, kFifoChunkBytes, kFifoChunks, 0);
        burn_track_set_source(track, fifo);
        burn_session_add_track(session, track, BURN_POS_END);
        // The session holds its own references now.
        burn_source_free(fifo);
        burn_source_free(source);
        burn_track_free(track);
    }
    burn_session_free(session);
    return disc;
}

DiscJobResult LibburnWriter::waitForWrite(JobMonitor& monitor)
{
    while (burn_drive_get_status(mDrive, nullptr) == BURN_DRIVE_SPAWNING)
        QThread::msleep(kPollMilliseconds);
    bool cancelled = false;
    burn_progress progress = {};
    while (burn_drive_get_status(mDrive, &progress) != BURN_DRIVE_IDLE) {
        if (progress.sectors > 0)
            monitor.setFractionDone(double(progress.sector) / progress.sectors);
        if (monitor.stopRequested() && !cancelled) {
            burn_drive_cancel(mDrive);
            cancelled = true;
        }
        QThread::msleep(kPollMilliseconds);
    }
    if (cancelled)
        return DiscJobResult::stopped(tr("The burn was stopped; the disc is probably unusable."));
    if (!mProducerError.isEmpty())
        return DiscJobResult::failure(mProducerError);
    if (!burn_drive_wrote_well(mDrive))
        return DiscJobResult::failure(
            withLibburnReason(tr("Writing the disc in the recorder %1 failed.").arg(mRecorderName)));
    monitor.setFractionDone(1.0);
    return DiscJobResult::success(tr("The disc is written."));
}

QString LibburnWriter::withLibburnReason(const QString& message) const
{
    const QString reason = Libburn::takeErrorMessage();
    return reason.isEmpty() ? message : message + QLatin1Char(' ') + reason;
}
