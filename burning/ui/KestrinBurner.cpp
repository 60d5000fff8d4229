#include "burning/ui/KestrinBurner.h"

#include "VCDBurner/VCDBurner.h"
#include "app/MessageSheet.h"
#include "burning/BurnJob.h"
#include "burning/ui/BurnProgressSheet.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DiscJob.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/Preferences.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

KestrinBurner::KestrinBurner(QWidget *window, QLineEdit *currentProjectField, Preferences *preferences, QObject *parent)
    : QObject(parent)
    , mVCDWindow(window)
    , mCurrentProjectField(currentProjectField)
    , mPreferences(preferences)
    , mRecorderSource(&DRDevice::devices)
{ }

KestrinBurner::~KestrinBurner() = default;

DRBurnSetupPanel *KestrinBurner::setupPanel() const
{
    return mSetupPanel;
}

BurnProgressSheet *KestrinBurner::burnProgressSheet() const
{
    return mBurnProgressSheet;
}

QMessageBox *KestrinBurner::burnFailedSheet() const
{
    return mBurnFailedSheet;
}

QMessageBox *KestrinBurner::cantBurnSheet() const
{
    return mCantBurnSheet;
}

QString KestrinBurner::currentProjectFolder()
{
    mCurrentProjectFolder = mCurrentProjectField->text();
    return mCurrentProjectFolder;
}

void KestrinBurner::startBurn()
{
    if (readyToBurn())
        startBurn1();
}

bool KestrinBurner::readyToBurn()
{
    if (BurnJob::projectHasDiscImage(currentProjectFolder()))
        return true;
    mCantBurnSheet
        = MessageSheet::make(mVCDWindow, QStringLiteral("mCantBurnSheet"), tr("There is no disc image to burn."),
            tr("Build the disc image first (Build Image in "
               "the Disc menu), then burn it."));
    connect(mCantBurnSheet, &QDialog::finished, this, &KestrinBurner::cantburnPanelDidEnd);
    mCantBurnSheet->open();
    return false;
}

void KestrinBurner::startBurn1()
{
    if (mSetupPanel || isBurning()) {
        QApplication::beep();
        return;
    }
    mSetupPanel = DRBurnSetupPanel::setupPanel();
    mSetupPanel->beginSetupSheetForWindow(
        mVCDWindow, this, [this](DRSetupPanel *panel, int returnCode) { handleSetupSheet(panel, returnCode); });
}

void KestrinBurner::handleSetupSheet(DRSetupPanel *panel, int returnCode)
{
    const std::shared_ptr<DRBurn> burn = static_cast<DRBurnSetupPanel *>(panel)->burnObject();
    mSetupPanel = nullptr;
    panel->close();
    panel->deleteLater();
    if (returnCode == 1)
        burnTheCD(burn);
}

void KestrinBurner::burnTheCD(std::shared_ptr<DRBurn> burn)
{
    if (isBurning() || !burn || !burn->device()) {
        QApplication::beep();
        return;
    }
    const bool cdrdaoPreferred = mPreferences->prefsIntForKey(QStringLiteral("prefsCdrdaoStored")) != 0;
    mJob = std::make_unique<BurnJob>(currentProjectFolder(), std::move(burn), cdrdaoPreferred);
    if (!mJob->layoutFailure().isEmpty())
        qInfo("burnTheCD: %s", qPrintable(mJob->layoutFailure()));
    if (mJob->engine() == BurnEngine::DiscRecording)
        burnWithTheLayer();
    else
        burnWithCdrdao();
}

void KestrinBurner::burnWithTheLayer()
{
    VCDBurner::modifyBurnProperties(mJob->burnObject().get());
    mBurnProgressPanel = DRBurnProgressPanel::progressPanel();
    mBurnProgressPanel->setVerboseProgressStatus(true);
    mBurnProgressPanel->setDelegate(this);
    mBurnProgressPanel->beginProgressSheetForBurn(mJob->burnObject(), *mJob->layout(), mVCDWindow);
}

void KestrinBurner::burnProgressPanelDidFinish(DRBurnProgressPanel *panel)
{
    const DiscJobResult result = panel->job()->result();
    // The panel's burn holds the layout's tracks, and they their reader.
    panel->deleteLater();
    mJob.reset();
    emit burnFinished(result);
}

// Also the road of a burn that neither engine can make: the job ends at once
// with the reason, shown on the failure sheet.
void KestrinBurner::burnWithCdrdao()
{
    mBurnProgressSheet = new BurnProgressSheet(mVCDWindow);
    mBurnProgressSheet->setAttribute(Qt::WA_DeleteOnClose);
    mBurnProgressSheet->mDeviceNameField->setText(mJob->recorderName());
    connect(mBurnProgressSheet, &BurnProgressSheet::stopClicked, this, &KestrinBurner::burnPanelStop);
    connect(mBurnProgressSheet, &QDialog::finished, this, &KestrinBurner::cdrdaoBurnPanelDidEnd);
    connect(mJob.get(), &BurnJob::progressChanged, this, &KestrinBurner::setBurnProgress);
    connect(mJob.get(), &BurnJob::finished, this, &KestrinBurner::burnDone);
    mBurnProgressSheet->open();
    mJob->start();
}

void KestrinBurner::setBurnProgress(const BurnProgress &progress)
{
    if (mBurnProgressSheet)
        mBurnProgressSheet->setBurnProgress(progress);
}

void KestrinBurner::burnPanelStop()
{
    if (!mJob)
        return;
    if (mBurnProgressSheet)
        mBurnProgressSheet->mStopButton->setEnabled(false);
    killCdrdao();
}

// Only the cdrdao of this burn is stopped; the job shows the cancelling step.
void KestrinBurner::killCdrdao()
{
    mJob->stop();
}

void KestrinBurner::burnDone(const DiscJobResult &result)
{
    if (mBurnProgressSheet)
        mBurnProgressSheet->done(1);
    // Its finished() is what brought us here.
    mJob.release()->deleteLater();
    emit burnFinished(result);
    if (result.succeeded())
        return;
    mBurnFailedSheet = MessageSheet::make(
        mVCDWindow, QStringLiteral("mBurnFailedSheet"), tr("The disc was not burned."), result.message);
    connect(mBurnFailedSheet, &QDialog::finished, this, &KestrinBurner::burnFailedDidEnd);
    mBurnFailedSheet->open();
}

QString KestrinBurner::burnFailedReason() const
{
    return mBurnFailedSheet ? mBurnFailedSheet->informativeText() : QString();
}

void KestrinBurner::cdrdaoBurnPanelDidEnd(int)
{
    if (mBurnProgressSheet)
        mBurnProgressSheet->close();
}

void KestrinBurner::burnFailedOK()
{
    if (mBurnFailedSheet)
        mBurnFailedSheet->done(1);
}

void KestrinBurner::burnFailedDidEnd(int)
{
    if (mBurnFailedSheet)
        mBurnFailedSheet->close();
}

void KestrinBurner::cantburnPanelOK()
{
    if (mCantBurnSheet)
        mCantBurnSheet->done(1);
}

void KestrinBurner::cantburnPanelDidEnd(int)
{
    if (mCantBurnSheet)
        mCantBurnSheet->close();
}

void KestrinBurner::ejectCD()
{
    // A drive may take seconds to open its tray: keep the window alive.
    QThread *worker = QThread::create([source = mRecorderSource] {
        for (const std::shared_ptr<DRDevice> &recorder : source())
            recorder->ejectMedia();
    });
    connect(worker, &QThread::finished, this, &KestrinBurner::ejectFinished);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}
