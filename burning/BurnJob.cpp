#include "burning/BurnJob.h"

#include "VCDBurner/VCDBurner.h"
#include "burning/CdrdaoBurn.h"
#include "burning/CdrdaoDevice.h"
#include "burning/CdrdaoProgress.h"
#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>

#include <cmath>

BurnJob::BurnJob(const QString &projectFolder, std::shared_ptr<DRBurn> burn, bool cdrdaoPreferred, QObject *parent)
    : QObject(parent)
    , mProjectFolder(projectFolder)
    , mBurn(std::move(burn))
{
    qRegisterMetaType<BurnProgress>();
    qRegisterMetaType<DiscJobResult>();
    // The TOC is read even when cdrdao is preferred: a recorder that writes
    // an image file needs the layout all the same.
    mLayout = VCDBurner::layoutForCDRDAOTOC(tocPath(), &mLayoutFailure);
    const DRDevice &recorder = *mBurn->device();
    mEngine = BurnEngineChoice::choose(mLayout.has_value(), cdrdaoPreferred, recorder);
    if (mEngine == BurnEngine::Cdrdao)
        mDeviceString = CdrdaoDevice::deviceString(recorder, &DRDevice::devices);
    if (mEngine != BurnEngine::DiscRecording)
        mLayout.reset();
    mProgress = { 0, true, CdrdaoProgress::stepText(CdrdaoProgress::Step::Preparing) };
}

BurnJob::~BurnJob()
{
    mStop = true;
    if (mCdrdaoThread.joinable())
        mCdrdaoThread.join();
}

bool BurnJob::projectHasDiscImage(const QString &projectFolder)
{
    QDirIterator entries(projectFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (entries.hasNext())
        if (entries.nextFileInfo().suffix() == QLatin1String("img"))
            return true;
    return false;
}

QString BurnJob::recorderName() const
{
    return mBurn->device()->displayName();
}

QString BurnJob::tocPath() const
{
    return QDir(mProjectFolder).filePath(QString::fromLatin1(kTocFileName));
}

void BurnJob::start()
{
    if (mRunning)
        return;
    mRunning = true;
    mStop = false;
    emit progressChanged(mProgress);
    switch (mEngine) {
    case BurnEngine::DiscRecording:
        startDiscRecording();
        break;
    case BurnEngine::Cdrdao:
        startCdrdao();
        break;
    case BurnEngine::None: {
        const DiscJobResult result = DiscJobResult::failure(
            tr("%1 can only write a disc image that Kestrin can read itself: %2").arg(recorderName(), mLayoutFailure));
        QMetaObject::invokeMethod(
            this, [this, result] { burnDone(result); }, Qt::QueuedConnection);
        break;
    }
    }
}

DiscJobResult BurnJob::run()
{
    QEventLoop loop;
    connect(this, &BurnJob::finished, &loop, &QEventLoop::quit);
    start();
    if (mRunning)
        loop.exec();
    return mResult;
}

void BurnJob::stop()
{
    if (!mRunning || mStop.exchange(true))
        return;
    if (mSession) {
        mSession->stop();
        return;
    }
    showProgress({ mProgress.percent, true, CdrdaoProgress::stepText(CdrdaoProgress::Step::Cancelling) });
}

void BurnJob::startDiscRecording()
{
    VCDBurner::modifyBurnProperties(mBurn.get());
    mSession = new BurnSession(mBurn, *mLayout, this);
    connect(mSession, &DiscJob::progressChanged, this, [this](double percent, const QString &status) {
        showProgress({ int(std::floor(percent)), false, status });
    });
    connect(mSession, &DiscJob::finished, this, [this](const DiscJobResult &result) {
        mSession->deleteLater();
        mLayout.reset();
        burnDone(result);
    });
    mSession->start();
}

void BurnJob::startCdrdao()
{
    mCdrdaoThread = std::thread(&BurnJob::HandleCdrdaoThread, this);
}

void BurnJob::HandleCdrdaoThread()
{
    CdrdaoBurn cdrdao(tocPath(), mDeviceString);
    const DiscJobResult result = cdrdao.run(mStop, [this](const BurnProgress &progress) {
        QMetaObject::invokeMethod(
            this, [this, progress] { showProgress(progress); }, Qt::QueuedConnection);
    });
    QMetaObject::invokeMethod(
        this, [this, result] { burnDone(result); }, Qt::QueuedConnection);
}

void BurnJob::showProgress(const BurnProgress &progress)
{
    if (progress == mProgress)
        return;
    mProgress = progress;
    emit progressChanged(mProgress);
}

void BurnJob::burnDone(const DiscJobResult &result)
{
    if (mCdrdaoThread.joinable())
        mCdrdaoThread.join();
    mResult = result;
    mRunning = false;
    emit finished(mResult);
}
