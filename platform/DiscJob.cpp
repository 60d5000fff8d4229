#include "platform/DiscJob.h"

#include <QThread>

#include <cmath>

DiscJob::DiscJob(QObject* parent)
    : QObject(parent)
{
}

DiscJob::~DiscJob()
{
    if (mThread) {
        stop();
        mThread->wait();
    }
}

void DiscJob::start()
{
    Q_ASSERT(!mThread);
    mThread = QThread::create([this] {
        const DiscJobResult result = work();
        std::lock_guard<std::mutex> guard(mMutex);
        mResult = result;
    });
    connect(mThread, &QThread::finished, this, [this] { emit finished(result()); });
    connect(mThread, &QThread::finished, mThread, &QObject::deleteLater);
    connect(mThread, &QObject::destroyed, this, [this] { mThread = nullptr; });
    mThread->start();
}

DiscJobResult DiscJob::run()
{
    const DiscJobResult result = work();
    {
        std::lock_guard<std::mutex> guard(mMutex);
        mResult = result;
    }
    emit finished(result);
    return result;
}

void DiscJob::stop()
{
    mStop = true;
}

bool DiscJob::isRunning() const
{
    return mThread && mThread->isRunning();
}

DiscJobResult DiscJob::result() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return mResult;
}

QString DiscJob::status() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return mStatus;
}

void DiscJob::setFractionDone(double fraction)
{
    mPercent = std::clamp(fraction, 0.0, 1.0) * 100.0;
    // A tenth of a percent is finer than any bar shows: more would only
    // flood the receiving thread with events.
    const int tenths = int(std::floor(mPercent.load() * 10.0));
    if (mPublishedTenths.exchange(tenths) != tenths)
        publishProgress();
}

void DiscJob::setStatus(const QString& status)
{
    {
        std::lock_guard<std::mutex> guard(mMutex);
        if (mStatus == status)
            return;
        mStatus = status;
    }
    publishProgress();
}

void DiscJob::publishProgress()
{
    emit progressChanged(mPercent.load(), status());
}
