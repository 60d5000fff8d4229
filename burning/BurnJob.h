#pragma once

#include "burning/BurnEngine.h"
#include "burning/BurnProgress.h"
#include "platform/DRTrack.h"
#include "platform/DiscJobResult.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class BurnSession;
class DRBurn;

// Writes the project's disc image (Kestrin.toc and the image files it names)
// with the recorder and properties of a confirmed burn setup, through the
// disc-recording layer or with cdrdao: the job reads the TOC into a layout,
// derives cdrdao's device and chooses the engine when it is made, then runs
// the burn on a worker thread.
//
// Needs no window: the burn sheet, the batch command and tests follow it
// through its signals, which arrive on the thread that owns the job; the
// worker posts every change there.
class BurnJob : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kTocFileName = "Kestrin.toc";

    // Main thread. `cdrdaoPreferred`: the preferences choose cdrdao.
    BurnJob(
        const QString &projectFolder, std::shared_ptr<DRBurn> burn, bool cdrdaoPreferred, QObject *parent = nullptr);
    ~BurnJob() override;

    // Whether the folder or one below it holds a disc image file (*.img,
    // in lower case, as the image builder names them).
    static bool projectHasDiscImage(const QString &projectFolder);

    BurnEngine engine() const { return mEngine; }
    std::shared_ptr<DRBurn> burnObject() const { return mBurn; }
    // The layout of a burn through the layer, from the job's making to the
    // end of that burn; none on the cdrdao road.
    const std::optional<DRLayout> &layout() const { return mLayout; }
    // cdrdao's --device argument for the chosen recorder.
    QString deviceString() const { return mDeviceString; }
    // Why no layout could be made, when none could.
    QString layoutFailure() const { return mLayoutFailure; }
    QString recorderName() const;
    QString tocPath() const;

    // Starts the burn; finished() follows on this object's thread.
    void start();
    // start(), then runs this thread's events until finished().
    DiscJobResult run();
    // Asks the engine to stop; the job ends soon after, as a failure with
    // the engine's last word.
    void stop();

    bool isRunning() const { return mRunning; }
    DiscJobResult result() const { return mResult; }
    BurnProgress progress() const { return mProgress; }

signals:
    void progressChanged(const BurnProgress &progress);
    void finished(const DiscJobResult &result);

private:
    void startDiscRecording();
    void startCdrdao();
    void HandleCdrdaoThread();
    void showProgress(const BurnProgress &progress);
    void burnDone(const DiscJobResult &result);

    QString mProjectFolder;
    std::shared_ptr<DRBurn> mBurn;
    std::optional<DRLayout> mLayout;
    QString mLayoutFailure;
    QString mDeviceString;
    BurnEngine mEngine = BurnEngine::None;

    bool mRunning = false;
    BurnProgress mProgress;
    DiscJobResult mResult;
    std::atomic_bool mStop = false;
    QPointer<BurnSession> mSession;
    std::thread mCdrdaoThread;
};
