#pragma once

#include "platform/DiscJobResult.h"
#include "platform/JobMonitor.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <mutex>

class QThread;

// The one shape of a burn or an erase: start it on a worker thread (or run
// it on the caller's thread), follow its percentage and step text, stop it,
// and learn how it ended. The signals reach the thread that owns the job
// (the user-interface thread), so a window following a job never waits.
class DiscJob : public QObject, protected JobMonitor {
    Q_OBJECT

public:
    ~DiscJob() override;

    // Runs the job on a worker thread of its own; finished() follows on this
    // object's thread.
    void start();
    // Runs the job on the calling thread (a batch command, a worker) and
    // returns its end; finished() is emitted before it returns.
    DiscJobResult run();

    // Asks the job to stop; it ends soon after with Outcome::Stopped (an
    // erase that the drive has begun runs to its end).
    void stop();

    bool isRunning() const;
    DiscJobResult result() const;
    double percentDone() const { return mPercent.load(); }
    QString status() const;

signals:
    void progressChanged(double percent, const QString& status);
    void finished(const DiscJobResult& result);

protected:
    explicit DiscJob(QObject* parent = nullptr);

    // The job itself, on the worker thread.
    virtual DiscJobResult work() = 0;

    bool stopRequested() const override { return mStop.load(); }
    void setFractionDone(double fraction) override;
    void setStatus(const QString& status) override;

private:
    void publishProgress();

    QThread* mThread = nullptr;
    std::atomic_bool mStop = false;
    std::atomic<double> mPercent = 0.0;
    std::atomic<int> mPublishedTenths = -1;
    mutable std::mutex mMutex; // guards mStatus and mResult
    QString mStatus;
    DiscJobResult mResult;
};
