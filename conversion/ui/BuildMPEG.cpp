#include "conversion/ui/BuildMPEG.h"

#include "app/MessageSheet.h"
#include "conversion/ConversionJob.h"
#include "conversion/MovieSelection.h"
#include "conversion/ui/ConversionFailureSheet.h"
#include "conversion/ui/ConversionProgressSheet.h"
#include "media/MediaTree.h"
#include "platform/DRBurn.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

BuildMPEG::BuildMPEG(QWidget *kestrinWindow, SettingsModel *settings, MediaTree *mediaTree, QObject *parent)
    : QObject(parent)
    , mKestrinWindow(kestrinWindow)
    , mSettings(settings)
    , mMP3DataSourceInstance(mediaTree)
{ }

// The window is going: a conversion still running is stopped, and its
// workers are waited for before the job goes.
BuildMPEG::~BuildMPEG()
{
    delete mJob;
}

ConversionProgressSheet *BuildMPEG::progressSheet() const
{
    return mMPEGProgressSheet;
}

QMessageBox *BuildMPEG::messageSheet() const
{
    return mMessageSheet;
}

ConversionFailureSheet *BuildMPEG::failureSheet() const
{
    return mFailureSheet;
}

DRBurnSetupPanel *BuildMPEG::burnSetupPanel() const
{
    return mBurnSetupPanel;
}

void BuildMPEG::startBuild()
{
    mConvertImageBurn = false;
    mBurnObject.reset();
    startBuild1(true);
}

void BuildMPEG::startConvertImageBurn()
{
    mConvertImageBurn = true;
    mBurnObject.reset();
    startBurn();
}

void BuildMPEG::startBurn()
{
    if (mBurnSetupPanel || mJob) {
        QApplication::beep();
        return;
    }
    mBurnSetupPanel = DRBurnSetupPanel::setupPanel();
    mBurnSetupPanel->beginSetupSheetForWindow(
        mKestrinWindow, this, [this](DRSetupPanel *panel, int returnCode) { handleSetupSheet(panel, returnCode); });
}

// On OK the chain keeps the confirmed burn for after the image; Cancel ends
// the chain with nothing done.
void BuildMPEG::handleSetupSheet(DRSetupPanel *panel, int returnCode)
{
    const std::shared_ptr<DRBurn> burn = static_cast<DRBurnSetupPanel *>(panel)->burnObject();
    mBurnSetupPanel = nullptr;
    panel->close();
    panel->deleteLater();
    if (returnCode != 1) {
        mConvertImageBurn = false;
        return;
    }
    mBurnObject = burn;
    startBuild1(false);
}

void BuildMPEG::buildPanelStop()
{
    if (mJob)
        mJob->stop();
}

void BuildMPEG::startBuild1(bool showNoMovies)
{
    if (mJob)
        return;
    mCurrentProjectFolder = mSettings->projectFolder();
    if (mCurrentProjectFolder.isEmpty()) {
        QApplication::beep();
        return;
    }
    QStringList mediaFiles;
    mMP3DataSourceInstance->getMediaFiles(nullptr, mediaFiles);
    const MovieSelection::Result selection = MovieSelection::select(mediaFiles, mCurrentProjectFolder);
    mPendingWorkList = selection.workList;
    mPendingShowNoMovies = showNoMovies;
    if (selection.sharedBases.isEmpty()) {
        sharedBaseSheetDidEnd(QMessageBox::Ok);
        return;
    }
    QStringList pairs;
    for (const MovieSelection::SharedBase &shared : selection.sharedBases)
        pairs << tr("%1 and %2 would both become %3; only the first is converted, and both show it on the disc.")
                     .arg(QDir::toNativeSeparators(shared.kept), QDir::toNativeSeparators(shared.other),
                         MovieFiles::baseName(shared.kept) + QStringLiteral(".mpg"));
    showSharedBaseSheet(pairs.join(QStringLiteral("\n\n")));
}

// Converted files are named after the movie's file name alone, so movies of
// the same name in different folders cannot both be converted.
void BuildMPEG::showSharedBaseSheet(const QString &text)
{
    mMessageSheet = MessageSheet::make(mKestrinWindow, QStringLiteral("mSharedBaseSheet"),
        tr("Some movies have the same name without its extension, and share one converted file. "
           "Rename one of each pair to put both on the disc."),
        text);
    mMessageSheet->setWindowTitle(tr("Movies with the same name"));
    mMessageSheet->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    mMessageSheet->button(QMessageBox::Ok)->setText(tr("Convert Anyway"));
    connect(mMessageSheet, &QMessageBox::finished, this, &BuildMPEG::sharedBaseSheetDidEnd);
    mMessageSheet->open();
}

void BuildMPEG::sharedBaseSheetDidEnd(int returnCode)
{
    if (returnCode != QMessageBox::Ok)
        return;
    const QStringList workList = std::exchange(mPendingWorkList, {});
    if (workList.isEmpty())
        nothingToConvert(mPendingShowNoMovies);
    else
        startConversion(workList);
}

void BuildMPEG::nothingToConvert(bool showNoMovies)
{
    if (!showNoMovies) {
        emit startImage1(false);
        return;
    }
    mMessageSheet = MessageSheet::make(mKestrinWindow, QStringLiteral("mNothingToConvertSheet"),
        tr("Every movie of the project is converted and up to date."),
        tr("Add movies to the project, or change a movie or a setting, to convert again."));
    mMessageSheet->setWindowTitle(tr("Nothing to convert"));
    mMessageSheet->setIcon(QMessageBox::Information);
    mMessageSheet->open();
}

void BuildMPEG::startConversion(const QStringList &workList)
{
    emit stopPlaying();
    mJob = new ConversionJob(mCurrentProjectFolder, ConversionSettings::fromModel(*mSettings));
    mMPEGProgressSheet = new ConversionProgressSheet(mKestrinWindow);
    mMPEGProgressSheet->follow(mJob);
    connect(mMPEGProgressSheet, &ConversionProgressSheet::stopClicked, this, &BuildMPEG::buildPanelStop);
    connect(mMPEGProgressSheet, &QDialog::finished, this, &BuildMPEG::buildPanelDidEnd);
    connect(mJob, &ConversionJob::finished, this, &BuildMPEG::buildPanelDone);
    mMPEGProgressSheet->open();
    mJob->start(workList);
}

void BuildMPEG::buildPanelDone(const ConversionReport &report)
{
    mReport = report;
    if (mMPEGProgressSheet)
        mMPEGProgressSheet->done(1);
}

// The job has removed the invalidation marker when everything converted.
void BuildMPEG::buildPanelDidEnd(int returnCode)
{
    if (mMPEGProgressSheet)
        mMPEGProgressSheet->deleteLater();
    // The job is the sender of the signal that ended the sheet.
    std::exchange(mJob, nullptr)->deleteLater();
    if (!mReport.failures.isEmpty())
        showFailureSheet(mReport);
    else if (mReport.succeeded() && mConvertImageBurn)
        emit startImage1(false);
}

void BuildMPEG::showFailureSheet(const ConversionReport &report)
{
    mFailureSheet = new ConversionFailureSheet(report, mKestrinWindow);
    mFailureSheet->setAttribute(Qt::WA_DeleteOnClose);
    mFailureSheet->open();
}
