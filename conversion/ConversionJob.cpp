#include "conversion/ConversionJob.h"

#include "conversion/AudioPreparation.h"
#include "conversion/Multiplexer.h"
#include "movtoy4m/VideoConversion.h"
#include "settings/Preferences.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

namespace {

QString nameOf(const QString &movie)
{
    return QFileInfo(movie).fileName();
}

} // namespace

ConversionJob::ConversionJob(const QString &projectFolder, const ConversionSettings &settings, QObject *parent)
    : QObject(parent)
    , mProjectFolder(projectFolder)
    , mSettings(settings)
{
    qRegisterMetaType<ConversionReport>();
}

ConversionJob::~ConversionJob()
{
    stop();
    if (mAudioThread.joinable())
        mAudioThread.join();
    // The audio worker starts the video worker; once it has been joined,
    // mVideoThread is settled.
    if (mVideoThread.joinable())
        mVideoThread.join();
}

MovieFiles ConversionJob::filesOf(const QString &movie) const
{
    return MovieFiles::forMovie(movie, mProjectFolder, mSettings.video.formatVCD);
}

void ConversionJob::start(const QStringList &workList)
{
    if (mRunning.exchange(true))
        return;
    mWorkList = workList;
    mReport = {};
    mUserDidCancelConvert = false;
    mCombineArray.clear();
    mFailures.clear();
    mConverted.clear();
    mAudioConvertDone = mVideoConvertDone = false;
    if (mWorkList.isEmpty()) {
        QMetaObject::invokeMethod(this, &ConversionJob::buildPanelDone, Qt::QueuedConnection);
        return;
    }
    mAudioThread = std::thread(&ConversionJob::HandleAudioThread, this);
}

ConversionReport ConversionJob::run(const QStringList &workList)
{
    QEventLoop loop;
    connect(this, &ConversionJob::finished, &loop, &QEventLoop::quit);
    start(workList);
    if (isRunning())
        loop.exec();
    return mReport;
}

void ConversionJob::stop()
{
    mUserDidCancelConvert = true;
}

void ConversionJob::show(std::atomic_int &shown, int percent, void (ConversionJob::*changed)(int))
{
    if (shown.exchange(percent) != percent)
        emit(this->*changed)(percent);
}

bool ConversionJob::setExtractAudioProgress(int percent)
{
    show(mExtractAudioShown, percent, &ConversionJob::extractAudioProgressChanged);
    return stopRequested();
}

bool ConversionJob::setConvertAudioProgress(int percent)
{
    show(mConvertAudioShown, percent, &ConversionJob::convertAudioProgressChanged);
    return stopRequested();
}

bool ConversionJob::setConvertVideoProgress(int percent)
{
    show(mConvertVideoShown, percent, &ConversionJob::convertVideoProgressChanged);
    return stopRequested();
}

void ConversionJob::HandleAudioThread()
{
    for (const QString &movie : std::as_const(mWorkList)) {
        prepareAudio(movie);
        combineAudioVideo(movie);
        // Checked only now, so the movie in hand always reaches its
        // multiplexing step.
        if (stopRequested())
            break;
    }
    emit audioMovieChanged({});
    setExtractAudioProgress(0);
    setConvertAudioProgress(0);
    workerFinished(&mAudioConvertDone);
}

void ConversionJob::prepareAudio(const QString &movie)
{
    {
        std::lock_guard lock(mLock);
        mCurrentAudioMovie = movie;
        mAudioExtracted = false;
    }
    emit audioMovieChanged(nameOf(movie));
    setExtractAudioProgress(0);
    setConvertAudioProgress(0);

    const MovieFiles files = filesOf(movie);
    const bool isMPEG = MovieFiles::isMPEGFile(movie);
    const auto extractProgress = [this](int percent) { return setExtractAudioProgress(percent); };
    StepResult extracted = StepResult::stopped();
    if (!stopRequested())
        extracted = isMPEG ? AudioPreparation::extractMPEGAudio(movie, files, extractProgress)
                           : AudioPreparation::extractAudio(movie, files, extractProgress);
    noteFailure(movie, extracted);
    {
        std::lock_guard lock(mLock);
        mAudioExtracted = true;
    }
    mAudioMoved.notify_all();
    setExtractAudioProgress(100);

    if (!mVideoThread.joinable())
        mVideoThread = std::thread(&ConversionJob::HandleVideoThread, this);

    if (!isMPEG && !stopRequested())
        noteFailure(movie,
            AudioPreparation::convertAudio(files, [this](int percent) { return setConvertAudioProgress(percent); }));
    setConvertAudioProgress(100);
}

void ConversionJob::HandleVideoThread()
{
    for (const QString &movie : std::as_const(mWorkList)) {
        emit videoMovieChanged(nameOf(movie));
        setConvertVideoProgress(0);
        if (!stopRequested())
            convertVideo(movie);
        setConvertVideoProgress(100);
        combineAudioVideo(movie);
        if (stopRequested())
            break;
    }
    emit videoMovieChanged({});
    setConvertVideoProgress(0);
    workerFinished(&mVideoConvertDone);
}

void ConversionJob::convertVideo(const QString &movie)
{
    VideoConversion::Hooks hooks;
    hooks.waitForAudio = [this, movie] { waitForAudio(movie); };
    hooks.progress = [this](double percent) { setConvertVideoProgress(std::clamp(int(percent), 0, 100)); };
    hooks.stop = &mUserDidCancelConvert;
    const VideoResult result = VideoConversion::convertVideo(movie, mProjectFolder, mSettings.video, hooks);
    if (result.status == VideoResult::Status::NoVisualTrack)
        noteFailure(movie, tr("The movie has no picture, and a video disc needs one."));
    else if (result.status == VideoResult::Status::Failed)
        noteFailure(movie, result.error);
}

// The movie's picture is not read while its sound is being exported; the
// audio worker may meanwhile be on a later movie.
void ConversionJob::waitForAudio(const QString &movie)
{
    std::unique_lock lock(mLock);
    mAudioMoved.wait(lock, [&] { return mCurrentAudioMovie != movie || mAudioExtracted; });
}

void ConversionJob::combineAudioVideo(const QString &movie)
{
    bool failed = false;
    {
        std::lock_guard lock(mLock);
        if (!mCombineArray.contains(movie)) {
            // The other worker multiplexes it when it gets here.
            mCombineArray.append(movie);
            return;
        }
        mCombineArray.removeOne(movie);
        failed = mFailures.contains(movie);
    }
    emit combineMovieChanged(nameOf(movie));
    const MovieFiles files = filesOf(movie);
    if (failed) {
        Multiplexer::removeIntermediates(files);
        QFile::remove(files.mpg);
    } else {
        const StepResult result = Multiplexer::combine(files, mSettings.multiplexFormat(), &mUserDidCancelConvert);
        noteFailure(movie, result);
        if (result.status == StepResult::Status::Done) {
            std::lock_guard lock(mLock);
            mConverted.insert(movie);
        }
    }
    emit combineMovieChanged({});
}

void ConversionJob::noteFailure(const QString &movie, const StepResult &result)
{
    if (result.failed())
        noteFailure(movie, result.error, result.output);
}

// The first failure of a movie is the one worth telling.
void ConversionJob::noteFailure(const QString &movie, const QString &reason, const QString &output)
{
    std::lock_guard lock(mLock);
    if (!mFailures.contains(movie))
        mFailures.insert(movie, { movie, reason, output });
}

void ConversionJob::workerFinished(bool *ownDoneFlag)
{
    QStringList halfDone;
    {
        std::lock_guard lock(mLock);
        *ownDoneFlag = true;
        if (!mAudioConvertDone || !mVideoConvertDone)
            return;
        // After Stop a movie may have reached its multiplexing step on one
        // side only; what it left behind goes.
        halfDone = std::exchange(mCombineArray, {});
    }
    for (const QString &movie : std::as_const(halfDone))
        Multiplexer::removeIntermediates(filesOf(movie));
    QMetaObject::invokeMethod(this, &ConversionJob::buildPanelDone, Qt::QueuedConnection);
}

void ConversionJob::buildPanelDone()
{
    if (mAudioThread.joinable())
        mAudioThread.join();
    if (mVideoThread.joinable())
        mVideoThread.join();
    mReport.stopped = stopRequested();
    for (const QString &movie : std::as_const(mWorkList)) {
        if (mFailures.contains(movie))
            mReport.failures.append(mFailures.value(movie));
        else if (mConverted.contains(movie))
            mReport.converted.append(movie);
    }
    if (!mWorkList.isEmpty() && mReport.succeeded())
        Preferences::setValidMPEGs(mProjectFolder);
    mRunning = false;
    emit finished(mReport);
}
