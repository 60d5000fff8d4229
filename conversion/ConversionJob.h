#pragma once

#include "conversion/ConversionReport.h"
#include "conversion/ConversionSettings.h"
#include "conversion/MovieFiles.h"
#include "conversion/StepResult.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Converts the movies of a work list into the disc's program streams
// base.mpg, on two workers that overlap across movies: the audio worker
// prepares each movie's sound, the video worker (started once the first
// movie's sound is out) encodes each movie's picture, and whichever of the
// two reaches a movie's multiplexing step second joins the two.
//
// Needs no window: the progress sheet, the batch command and tests follow it
// through its signals, which arrive on the thread that owns the job. The
// workers never wait for that thread.
class ConversionJob : public QObject
{
    Q_OBJECT

public:
    ConversionJob(const QString &projectFolder, const ConversionSettings &settings, QObject *parent = nullptr);
    ~ConversionJob() override;

    // Starts the audio worker; finished() follows when both workers are done.
    // When every movie was converted, the project's MPEG invalidation marker
    // is removed.
    void start(const QStringList &workList);
    // start(), then runs this thread's events until finished().
    ConversionReport run(const QStringList &workList);

    // Stop: each worker ends the step it is in, carries its movie to the
    // multiplexing step and ends. Movies finished before stay converted.
    void stop();
    bool isRunning() const { return mRunning.load(); }
    const ConversionReport &report() const { return mReport; }

    // The progress-and-cancel convention of every long step: shows the
    // percentage and answers whether Stop was pressed. Any thread.
    bool setExtractAudioProgress(int percent);
    bool setConvertAudioProgress(int percent);
    bool setConvertVideoProgress(int percent);

signals:
    // The file name of the movie each worker is on; empty when it is done.
    void audioMovieChanged(const QString &name);
    void videoMovieChanged(const QString &name);
    // The movie being multiplexed; empty when none is.
    void combineMovieChanged(const QString &name);
    void extractAudioProgressChanged(int percent);
    void convertAudioProgressChanged(int percent);
    void convertVideoProgressChanged(int percent);
    void finished(const ConversionReport &report);

private:
    void HandleAudioThread();
    void HandleVideoThread();
    void prepareAudio(const QString &movie);
    void convertVideo(const QString &movie);
    void waitForAudio(const QString &movie);
    void combineAudioVideo(const QString &movie);
    void workerFinished(bool *ownDoneFlag);
    void buildPanelDone();

    void noteFailure(const QString &movie, const StepResult &result);
    void noteFailure(const QString &movie, const QString &reason, const QString &output = {});
    bool stopRequested() const { return mUserDidCancelConvert.load(); }
    MovieFiles filesOf(const QString &movie) const;
    void show(std::atomic_int &shown, int percent, void (ConversionJob::*changed)(int));

    const QString mProjectFolder;
    const ConversionSettings mSettings;
    QStringList mWorkList;
    ConversionReport mReport;
    std::atomic_bool mRunning = false;
    std::atomic_bool mUserDidCancelConvert = false;

    // Shared by the workers, under mLock: the movies one worker has brought
    // to the multiplexing step, the two done flags, the rendezvous (the
    // movie the audio worker is on and whether its sound is out), and what
    // became of each movie.
    std::mutex mLock;
    std::condition_variable mAudioMoved;
    QStringList mCombineArray;
    bool mAudioConvertDone = false;
    bool mVideoConvertDone = false;
    QString mCurrentAudioMovie;
    bool mAudioExtracted = false;
    QHash<QString, ConversionReport::Failure> mFailures;
    QSet<QString> mConverted;

    std::thread mAudioThread;
    std::thread mVideoThread; // started by the audio worker

    std::atomic_int mExtractAudioShown = -1;
    std::atomic_int mConvertAudioShown = -1;
    std::atomic_int mConvertVideoShown = -1;
};
