#include "media/ui/DataDiscController.h"

#include "app/MessageSheet.h"
#include "app/MyController.h"
#include "media/CompilationFile.h"
#include "media/MediaTree.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRFolder.h"
#include "platform/DRTrack.h"
#include "platform/ui/DRBurnSetupPanel.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

DataDiscController::DataDiscController(
    QWidget *window, MP3DataSource *dataSource, Preferences *preferences, MyController *controller, QObject *parent)
    : QObject(parent)
    , mMP3Window(window)
    , mDataSource(dataSource)
    , mMediaTree(dataSource->mediaTree())
    , mPreferences(preferences)
    , mController(controller)
{
    // A compilation's name goes with its tree.
    connect(mMediaTree, &MediaTree::treeReplaced, mDataSource, [this] { mDataSource->setRecordTitle(QString()); });
}

DataDiscController::~DataDiscController() = default;

DRBurnSetupPanel *DataDiscController::setupPanel() const
{
    return mSetupPanel;
}

DataDiscLayout::Thresholds DataDiscController::thresholds() const
{
    auto pref = [this](const char *key) { return mPreferences->prefsIntForKey(QString::fromLatin1(key)); };
    return { pref("prefsWarnSpaceCheckStored") != 0, pref("prefsWarnSpaceComboStored"),
        pref("prefsWarnMoreCheckStored") != 0, pref("prefsWarnMoreComboStored") };
}

bool DataDiscController::includeJoliet() const
{
    return mPreferences->prefsIntForKey(QStringLiteral("prefsIncludeJolietStored")) != 0;
}

bool DataDiscController::isBusy() const
{
    return mWarningSheet || mErrorSheet || mSetupPanel || mProgressPanel || mSavePanel || mOpenPanel;
}

void DataDiscController::burnMP3CD()
{
    if (isBusy()) {
        QApplication::beep();
        return;
    }
    mkBytesUsedValue = DataDiscLayout::compilationBytes(mMediaTree->treeData());
    const qint64 megabytes = DataDiscLayout::megabytes(mkBytesUsedValue);
    const DataDiscLayout::SizeWarning warning = DataDiscLayout::sizeWarning(megabytes, thresholds());
    if (warning == DataDiscLayout::SizeWarning::None)
        burnMP3CD_1();
    else
        showSizeWarning(warning, megabytes);
}

void DataDiscController::showSizeWarning(DataDiscLayout::SizeWarning warning, qint64 megabytes)
{
    const bool notEnough = warning == DataDiscLayout::SizeWarning::NotEnoughMusic;
    const QString title = notEnough ? tr("Not enough music to fill a CD") : tr("Too much music for a CD");
    const QString message = notEnough
        ? tr("The music files that you have selected to be burned on this CD consume %1mb of disc space and will "
             "not fill the CD.  You will not be able to add music to the CD later.  (To change the threshold for "
             "this warning, go to the Preferences panel.)")
        : tr("The music files that you have selected to be burned on this CD consume %1mb of disc space and may be "
             "too much for the CD.  Trying to burn more music onto a CD than the CD can hold will result in a CD "
             "that is unusable.  (To change the threshold for this warning, go to the Preferences panel.)");
    mWarningSheet = MessageSheet::make(mMP3Window,
        notEnough ? QStringLiteral("mNotEnoughMusicSheet") : QStringLiteral("mTooMuchMusicSheet"), title,
        message.arg(megabytes) + QStringLiteral("\n\n") + tr("Are you sure you want to continue ?"));
    mWarningSheet->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    mWarningSheet->setEscapeButton(QMessageBox::No);
    QMessageBox *sheet = mWarningSheet;
    connect(sheet, &QDialog::finished, this,
        [this, sheet] { handleNotFullSheet(sheet->clickedButton() == sheet->button(QMessageBox::Yes) ? 1 : 0); });
    sheet->open();
}

void DataDiscController::handleNotFullSheet(int returnCode)
{
    mWarningSheet = nullptr;
    if (returnCode == 1)
        burnMP3CD_1();
    else
        mController->setMIgnoreInsert(false);
}

void DataDiscController::burnMP3CD_1()
{
    mController->setMIgnoreInsert(true);
    mRootFolderName = DataDiscLayout::volumeName(QDateTime::currentDateTime());
    mRootVFolder = DataDiscLayout::rootFolder(mMediaTree->treeData(), mRootFolderName);
    // Before the panel is made: it starts from the stored choice.
    if (includeJoliet())
        mPreferences->prefsClearAppendibleCheckbox();
    mSetupPanel = DRBurnSetupPanel::setupPanel();
    if (includeJoliet())
        mSetupPanel->setCanSelectAppendableMedia(false);
    mSetupPanel->beginSetupSheetForWindow(
        mMP3Window, this, [this](DRSetupPanel *panel, int returnCode) { handleSetupSheet(panel, returnCode); });
}

void DataDiscController::handleSetupSheet(DRSetupPanel *panel, int returnCode)
{
    const std::shared_ptr<DRBurn> burn = static_cast<DRBurnSetupPanel *>(panel)->burnObject();
    mSetupPanel = nullptr;
    panel->close();
    panel->deleteLater();
    if (returnCode != 1 || !burn->device()) {
        mController->setMIgnoreInsert(false);
        return;
    }
    const uint64_t freeBlocks = DataDiscLayout::freeBlocks(burn->device()->mediaSpaceFree());
    if (!DataDiscLayout::fitsOnMedia(mkBytesUsedValue, freeBlocks)) {
        showErrorSheet(QStringLiteral("mNoSpaceSheet"), tr("Not Enough Free Space on Media"),
            tr("The Media that you have inserted to burn music on does not have enough free space for the music you "
               "have selected.  If you want to burn onto the CD you have inserted, remove some of the music files "
               "from your selection and try burning again."));
    } else {
        if (includeJoliet()) {
            burn->setAppendable(false);
            mRootVFolder->setExplicitFilesystemMask(DRFSObject::Joliet);
        }
        mProgressPanel = DRBurnProgressPanel::progressPanel();
        mProgressPanel->setDelegate(this);
        mProgressPanel->setVerboseProgressStatus(true);
        mProgressPanel->beginProgressSheetForBurn(burn, DRTrack::trackForRootFolder(mRootVFolder), mMP3Window);
    }
    mController->setMIgnoreInsert(false);
}

void DataDiscController::burnProgressPanelDidFinish(DRBurnProgressPanel *panel)
{
    mProgressPanel = nullptr;
    panel->deleteLater();
}

void DataDiscController::showErrorSheet(
    const QString &name, const QString &text, const QString &informative, const QString &details)
{
    mErrorSheet = MessageSheet::make(mMP3Window, name, text, informative, details);
    // handleErrorSheet: nothing follows an error.
    connect(mErrorSheet, &QDialog::finished, this, [this] { mErrorSheet = nullptr; });
    mErrorSheet->open();
}

// A line of text under the panel's controls says what the panel is for.
QFileDialog *DataDiscController::makeFilePanel(
    const QString &name, const QString &title, const QString &accessory, int width)
{
    auto *panel = new QFileDialog(mMP3Window, title, QDir::homePath());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setObjectName(name);
    panel->setOption(QFileDialog::DontUseNativeDialog);
    panel->setWindowModality(Qt::WindowModal);
    auto *line = new QLabel(accessory, panel);
    line->setObjectName(QStringLiteral("accessoryLine"));
    line->setFixedSize(width, 20);
    line->setAlignment(Qt::AlignCenter);
    line->setTextInteractionFlags(Qt::NoTextInteraction);
    if (auto *grid = qobject_cast<QGridLayout *>(panel->layout()))
        grid->addWidget(line, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignHCenter);
    return panel;
}

// The first path chosen in a panel that has just ended; empty when cancelled.
QString DataDiscController::endFilePanel(QPointer<QFileDialog> &panel, int returnCode)
{
    const QStringList chosen = panel ? panel->selectedFiles() : QStringList();
    if (panel)
        panel->close();
    panel = nullptr;
    return returnCode == QDialog::Accepted && !chosen.isEmpty() ? chosen.first() : QString();
}

void DataDiscController::saveMP3CD()
{
    if (isBusy()) {
        QApplication::beep();
        return;
    }
    mSavePanel = makeFilePanel(QStringLiteral("mSaveCompilationPanel"), tr("Save Compilation"),
        tr("Please select a location and save this .cd3 file."), 350);
    mSavePanel->setAcceptMode(QFileDialog::AcceptSave);
    mSavePanel->setFileMode(QFileDialog::AnyFile);
    mSavePanel->selectFile(QStringLiteral("untitled.cd3"));
    connect(mSavePanel, &QDialog::finished, this, &DataDiscController::savePanelDidEnd);
    mSavePanel->open();
}

void DataDiscController::savePanelDidEnd(int returnCode)
{
    const QString chosen = endFilePanel(mSavePanel, returnCode);
    if (chosen.isEmpty())
        return;
    const QString path = CompilationFile::compilationPath(chosen);
    QString error;
    if (!CompilationFile::write(path, mMediaTree->treeData(), &error)) {
        showErrorSheet(QStringLiteral("mSaveFailedSheet"), tr("The compilation could not be saved."),
            tr("Kestrin cannot write the file %1.").arg(path), error);
        return;
    }
    mDataSource->setRecordTitle(QFileInfo(path).completeBaseName());
}

void DataDiscController::loadMP3CD()
{
    if (isBusy()) {
        QApplication::beep();
        return;
    }
    mOpenPanel = makeFilePanel(
        QStringLiteral("mLoadCompilationPanel"), tr("Open Compilation"), tr("Please select a saved .cd3 file."), 400);
    mOpenPanel->setAcceptMode(QFileDialog::AcceptOpen);
    mOpenPanel->setFileMode(QFileDialog::ExistingFiles);
    mOpenPanel->setNameFilter(tr("Compilations (*.cd3 *.CD3)"));
    connect(mOpenPanel, &QDialog::finished, this, &DataDiscController::openPanelDidEnd);
    mOpenPanel->open();
}

void DataDiscController::openPanelDidEnd(int returnCode)
{
    const QString path = endFilePanel(mOpenPanel, returnCode);
    if (path.isEmpty())
        return;
    CompilationFile::ReadResult read = CompilationFile::read(path);
    if (!read.ok()) {
        showErrorSheet(QStringLiteral("mLoadFailedSheet"), tr("The compilation could not be opened."),
            tr("%1 is not a compilation file that Kestrin can read.").arg(QFileInfo(path).fileName()), read.error);
        return;
    }
    // The disc image no longer shows the tree.
    const QString projectFolder = mPreferences->settings()->projectFolder();
    if (!projectFolder.isEmpty())
        mMediaTree->invalidateImages(projectFolder);
    mMediaTree->setTreeData(std::move(read.tree));
    mDataSource->setRecordTitle(QFileInfo(path).completeBaseName());
}
