#pragma once

#include <QString>

// The worker-side view of a running burn or erase: where a recorder reports
// how far it has come and learns whether the user pressed Stop. Called on
// the job's worker thread only.
class JobMonitor {
public:
    virtual ~JobMonitor() = default;

    virtual bool stopRequested() const = 0;
    // 0.0 to 1.0 of the whole job.
    virtual void setFractionDone(double fraction) = 0;
    // The current step in words ("Writing track 2 of 3").
    virtual void setStatus(const QString& status) = 0;
};
