#pragma once

#include "burning/BurnProgress.h"
#include "platform/DiscJobResult.h"
#include "platform/ui/DRBurnProgressPanel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class BurnJob;
class BurnProgressSheet;
class DRBurn;
class DRBurnSetupPanel;
class DRDevice;
class DRSetupPanel;
class Preferences;
class QLineEdit;
class QMessageBox;
class QWidget;

// The Burn command in the window: checks that the project holds a disc
// image and asks for the recorder in the burn setup. A burn through the
// disc-recording layer runs in the layer's own progress sheet, which shows
// how it ended; a cdrdao burn runs as a BurnJob under the burn sheet, and its
// failure sheet gives cdrdao's last word. The convert-image-burn chain hands
// its kept burn setup to burnTheCD once the image is built. Also ejects the
// discs of every recorder.
class KestrinBurner : public QObject, public DRBurnProgressPanelDelegate
{
    Q_OBJECT

public:
    using RecorderSource = std::function<QList<std::shared_ptr<DRDevice>>()>;

    KestrinBurner(QWidget *window, QLineEdit *currentProjectField, Preferences *preferences, QObject *parent = nullptr);
    ~KestrinBurner() override;

    // The Burn command.
    void startBurn();
    // True when the project folder holds a disc image; otherwise shows the
    // can't-burn sheet.
    bool readyToBurn();
    // Shows the burn setup sheet.
    void startBurn1();
    // Burns the project's image with a confirmed burn setup.
    void burnTheCD(std::shared_ptr<DRBurn> burn);
    void burnPanelStop();
    void burnFailedOK();
    void cantburnPanelOK();

    // Ejects the disc of every recorder, on a worker thread; ejectFinished()
    // follows.
    void ejectCD();
    // Where ejectCD finds the recorders: the disc-recording layer's list
    // unless set otherwise.
    void setRecorderSource(RecorderSource source) { mRecorderSource = std::move(source); }

    // The layer's progress sheet was closed: the burn is over.
    void burnProgressPanelDidFinish(DRBurnProgressPanel *panel) override;

    bool isBurning() const { return mJob != nullptr; }
    // The sheets and the job while they are up (for whoever drives the window).
    DRBurnSetupPanel *setupPanel() const;
    DRBurnProgressPanel *burnProgressPanel() const { return mBurnProgressPanel; }
    BurnProgressSheet *burnProgressSheet() const;
    QMessageBox *burnFailedSheet() const;
    QMessageBox *cantBurnSheet() const;
    BurnJob *burnJob() const { return mJob.get(); }
    // The reason shown on the failure sheet.
    QString burnFailedReason() const;

signals:
    // Every burn's end, failed and stopped ones included.
    void burnFinished(const DiscJobResult &result);
    void ejectFinished();

private slots:
    void cdrdaoBurnPanelDidEnd(int returnCode);
    void burnFailedDidEnd(int returnCode);
    void cantburnPanelDidEnd(int returnCode);

private:
    void handleSetupSheet(DRSetupPanel *panel, int returnCode);
    void burnWithTheLayer();
    void burnWithCdrdao();
    void killCdrdao();
    void setBurnProgress(const BurnProgress &progress);
    void burnDone(const DiscJobResult &result);
    QString currentProjectFolder();

    QWidget *mVCDWindow;
    QLineEdit *mCurrentProjectField;
    Preferences *mPreferences;
    QString mCurrentProjectFolder;
    std::unique_ptr<BurnJob> mJob;
    QPointer<DRBurnSetupPanel> mSetupPanel;
    QPointer<DRBurnProgressPanel> mBurnProgressPanel;
    QPointer<BurnProgressSheet> mBurnProgressSheet;
    QPointer<QMessageBox> mBurnFailedSheet;
    QPointer<QMessageBox> mCantBurnSheet;
    RecorderSource mRecorderSource;
};
