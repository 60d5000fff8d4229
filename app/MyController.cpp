#include "app/MyController.h"

#include "app/FileBrowserModel.h"
#include "app/MainWindow.h"
#include "app/MessageSheet.h"
#include "app/MoviePreview.h"
#include "app/MyTableView.h"
#include "app/PreviewList.h"
#include "app/PreviewPane.h"
#include "app/SelectProjectPanel.h"
#include "media/MediaTree.h"
#include "media/ui/FreeSpaceBar.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "media/ui/MediaDrop.h"
#include "media/ui/MyOutlineView.h"
#include "platform/MountPoints.h"
#include "platform/Resources.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/PreferencesWindow.h"
#include "settings/ui/SettingChanges.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

MyController::MyController(
    MainWindow *window, SettingsModel *settings, Preferences *preferences, MediaTree *mediaTree, QObject *parent)
    : QObject(parent)
    , mWindow(window)
    , mSettings(settings)
    , mPreferences(preferences)
    , mMediaTree(mediaTree)
    , mPreview(new MoviePreview(settings, window->mPreviewPane->movieView, this))
    , mSongs(new PreviewList(this))
    , mDataSource(new MP3DataSource(mediaTree, settings, this))
{
    connect(mWindow->mNewAction, &QAction::triggered, this, &MyController::menuNew);
    connect(mWindow->mOpenAction, &QAction::triggered, this, &MyController::menuOpen);
    connect(mWindow->mQuitAction, &QAction::triggered, this, &MyController::menuQuit);
    // Closing the window is quitting: what the user did is saved either way.
    connect(mWindow, &MainWindow::closeRequested, this, &MyController::menuQuit);
    connect(mSettings, &SettingsModel::projectFolderChanged, mWindow->mCurrentProjectField, &QLineEdit::setText);
    connectMediaTree();
}

// The tree view, its commands and the figures under it.
void MyController::connectMediaTree()
{
    mDataSource->awakeFromNib(mWindow->mMediaTreeView);
    connect(mWindow->mAddMediaAction, &QAction::triggered, mDataSource->mediaDrop(), &MediaDrop::addMP3);
    connect(mWindow->mAddGroupAction, &QAction::triggered, mDataSource, &MP3DataSource::addGroup);
    connect(mWindow->mDeleteAction, &QAction::triggered, mDataSource, &MP3DataSource::deleteSelections);
    connect(mWindow->mSortAction, &QAction::triggered, mDataSource, &MP3DataSource::sortData);
    connect(mDataSource, &MP3DataSource::canDeleteSelectionsChanged, mWindow->mDeleteAction, &QAction::setEnabled);
    // A movie clicked in the tree shows stopped on its first frame.
    connect(mDataSource, &MP3DataSource::mediaSelected, mPreview, [this](const QString &path) {
        mPreview->playThisSong(path);
        mPreview->stopPlaying();
    });

    FreeSpaceBar *bar = mWindow->mFreespaceProgressIndicator;
    QLabel *missing = mWindow->mMissingItems;
    connect(mMediaTree, &MediaTree::usedMinutesChanged, bar, &FreeSpaceBar::setMinutesUsed);
    connect(mMediaTree, &MediaTree::barMaximumChanged, bar, &FreeSpaceBar::setMaximumMinutes);
    const auto showMissing = [missing](int count) { missing->setText(tr("%n missing", nullptr, count)); };
    const auto showMissingColor = [missing](const QColor &color) {
        QPalette palette = missing->palette();
        palette.setColor(QPalette::WindowText, color);
        missing->setPalette(palette);
    };
    connect(mMediaTree, &MediaTree::missingItemsChanged, missing, showMissing);
    connect(mMediaTree, &MediaTree::missingItemsColorChanged, missing, showMissingColor);
    bar->setMaximumMinutes(mMediaTree->barMaximum());
    bar->setMinutesUsed(mMediaTree->minutesUsed());
    showMissing(mMediaTree->missingItems());
    showMissingColor(mMediaTree->missingItemsColor());
}

MyController::~MyController() = default;

void MyController::awakeFromNib()
{
    mPreview->openResourceMovie();
    connectPreview();
    mPreferences->prefsLoad();
    mPreferencesWindow = new PreferencesWindow(mPreferences, mWindow);
    connect(mWindow->mPreferencesAction, &QAction::triggered, mPreferencesWindow, &PreferencesWindow::prefsOpen);
    mSettingChanges = new SettingChanges(mSettings, mPreferences, mMediaTree, mWindow->mSettingsPanel,
        mWindow->mMenuTabView, mWindow->mSettingsDrawer, this);
}

void MyController::applicationDidFinishLaunching(const QString &projectFolder)
{
    mProjectFolder.releaseLock();
    mFirstTime = true;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        mWindow->move(screen->availableGeometry().center() - mWindow->rect().center());
    mWindow->show();
    mWindow->raise();
    if (projectFolder.isEmpty()) {
        setProjectFolder();
    } else if (ProjectFolder::isProjectFolder(projectFolder)) {
        openProject(QFileInfo(projectFolder).absoluteFilePath());
    } else {
        qWarning("applicationDidFinishLaunching: %s holds no Kestrin project", qPrintable(projectFolder));
        setProjectFolder();
    }
}

QString MyController::currentProject() const
{
    return mSettings->projectFolder();
}

void MyController::setCurrentProject(const QString &folder)
{
    mSettings->setProjectFolder(folder);
}

void MyController::setProjectFolder()
{
    mSelectProjectPanel = new SelectProjectPanel(mWindow);
    mSelectProjectPanel->setAttribute(Qt::WA_DeleteOnClose);
    connect(mSelectProjectPanel, &QDialog::finished, this, &MyController::selectPanelDidEnd);
    mSelectProjectPanel->open();
}

void MyController::selectPanelDidEnd(int returnCode)
{
    if (mSelectProjectPanel)
        mSelectProjectPanel->close();
    switch (returnCode) {
    case SelectProjectPanel::New:
        menuNew();
        break;
    case SelectProjectPanel::Open:
        menuOpen();
        break;
    default:
        menuQuit();
        break;
    }
}

// Asked from inside a panel's end, so it waits until that end has returned
// and the closing panel is gone.
void MyController::showSelectPanelAgain()
{
    QTimer::singleShot(0, this, &MyController::setProjectFolder);
}

void MyController::leaveCurrentProject()
{
    const QString folder = currentProject();
    if (folder.isEmpty())
        return;
    mMediaTree->saveToFile(QDir(folder).filePath(QString::fromLatin1(ProjectFolder::kTreeFileName)));
    mPreferences->projectSettingsSave(folder);
    mPreferences->clearSettings();
}

void MyController::saveProject()
{
    const QString folder = currentProject();
    if (folder.isEmpty())
        return;
    mMediaTree->saveToFile(QDir(folder).filePath(QString::fromLatin1(ProjectFolder::kTreeFileName)));
    mPreferences->projectSettingsSave(folder);
}

void MyController::menuNew()
{
    leaveCurrentProject();
    mSavePanel = new QFileDialog(mWindow, tr("New Folder"));
    mSavePanel->setAttribute(Qt::WA_DeleteOnClose);
    mSavePanel->setObjectName(QStringLiteral("mSavePanel"));
    mSavePanel->setOption(QFileDialog::DontUseNativeDialog);
    // Kestrin asks itself, in plainer words, before replacing anything.
    mSavePanel->setOption(QFileDialog::DontConfirmOverwrite);
    mSavePanel->setAcceptMode(QFileDialog::AcceptSave);
    mSavePanel->setFileMode(QFileDialog::AnyFile);
    mSavePanel->setLabelText(QFileDialog::FileName, tr("Project folder:"));
    mSavePanel->setLabelText(QFileDialog::Accept, tr("Create"));
    mSavePanel->setWindowModality(Qt::WindowModal);
    connect(mSavePanel, &QDialog::finished, this, &MyController::savePanelDidEnd);
    mSavePanel->open();
}

void MyController::savePanelDidEnd(int returnCode)
{
    const QStringList chosen = mSavePanel ? mSavePanel->selectedFiles() : QStringList();
    if (mSavePanel)
        mSavePanel->close();
    if (returnCode != QDialog::Accepted || chosen.isEmpty()) {
        showSelectPanelAgain();
        return;
    }
    const QString path = QDir::cleanPath(chosen.first());
    const QFileInfo existing(path);
    if (!existing.exists() && !existing.isSymLink()) {
        createProject(path);
        return;
    }
    const QString name = QStringLiteral("mReplaceAlert");
    QMessageBox *alert = nullptr;
    const QString refusal = ProjectFolder::whyNotReplaceable(path, currentProject());
    if (!refusal.isEmpty()) {
        alert = MessageSheet::make(mWindow, name, refusal, tr("Choose another name for the new project."));
        connect(alert, &QDialog::finished, this, &MyController::showSelectPanelAgain);
    } else {
        mPendingNewPath = path;
        alert = MessageSheet::make(mWindow, name,
            tr("“%1” already exists. Replace it with a new, empty project?").arg(existing.fileName()),
            existing.isDir() && !existing.isSymLink()
                ? tr("The folder %1 and everything in it will be deleted.").arg(path)
                : tr("The file %1 will be deleted.").arg(path));
        alert->setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
        alert->button(QMessageBox::Yes)->setText(tr("Replace"));
        alert->setDefaultButton(QMessageBox::Cancel);
        connect(alert, &QDialog::finished, this, &MyController::replaceAlertDidEnd);
    }
    alert->open();
}

void MyController::replaceAlertDidEnd(int returnCode)
{
    if (returnCode != QMessageBox::Yes || mPendingNewPath.isEmpty()) {
        mPendingNewPath.clear();
        showSelectPanelAgain();
        return;
    }
    createProject(std::exchange(mPendingNewPath, QString()));
}

void MyController::createProject(const QString &path)
{
    setCurrentProject(path);
    mPreferences->setProjectDefaults();
    if (!ProjectFolder::replaceWithEmptyFolder(path))
        qWarning("menuNew: could not make the project folder %s", qPrintable(path));
    mPreferences->projectSettingsSave(path);
    mMediaTree->flushTree(path);
    mProjectFolder.takeLock(path);
    if (std::exchange(mFirstTime, false))
        startPreviewOfProject(true);
    emit projectOpened(path, true, false);
}

void MyController::menuOpen()
{
    leaveCurrentProject();
    mOpenPanel = new QFileDialog(mWindow, tr("Select Folder"));
    mOpenPanel->setAttribute(Qt::WA_DeleteOnClose);
    mOpenPanel->setObjectName(QStringLiteral("mOpenPanel"));
    mOpenPanel->setOption(QFileDialog::DontUseNativeDialog);
    mOpenPanel->setFileMode(QFileDialog::Directory);
    mOpenPanel->setOption(QFileDialog::ShowDirsOnly);
    mOpenPanel->setLabelText(QFileDialog::Accept, tr("Open"));
    mOpenPanel->setWindowModality(Qt::WindowModal);
    connect(mOpenPanel, &QDialog::finished, this, &MyController::openPanelDidEnd);
    mOpenPanel->open();
}

void MyController::openPanelDidEnd(int returnCode)
{
    const QStringList chosen = mOpenPanel ? mOpenPanel->selectedFiles() : QStringList();
    if (mOpenPanel)
        mOpenPanel->close();
    if (returnCode != QDialog::Accepted || chosen.isEmpty() || !ProjectFolder::isProjectFolder(chosen.first())) {
        showSelectPanelAgain();
        return;
    }
    openProject(chosen.first());
}

void MyController::openProject(const QString &chosenFolder)
{
    const QString folder = QDir::cleanPath(chosenFolder);
    setCurrentProject(folder);
    mProjectFolder.takeLock(folder);
    mMediaTree->loadFromFile(QDir(folder).filePath(QString::fromLatin1(ProjectFolder::kTreeFileName)));
    mPreferences->projectSettingsLoad(folder);
    if (std::exchange(mFirstTime, false))
        startPreviewOfProject(false);
    emit projectOpened(folder, false, false);
}

void MyController::menuQuit()
{
    saveProject();
    mProjectFolder.releaseLock();
    emit quitRequested();
}

void MyController::connectPreview()
{
    PreviewPane *pane = mWindow->mPreviewPane;
    pane->songTable->setController(mPreview, mSongs);
    pane->mFileBrowser->setModel(new FileBrowserModel(nullptr, this));
    mPreview->setSongSelected([table = pane->songTable] { return table->songSelected(); });
    connect(mPreview, &MoviePreview::percentShown, pane, &PreviewPane::showPercent);
    connect(pane->mPlayButton, &QPushButton::clicked, pane->songTable, &MyTableView::resumePlaying);
    connect(pane->mStopButton, &QPushButton::clicked, pane->songTable, &MyTableView::stopPlaying);
    connect(pane->mRewindButton, &QPushButton::clicked, mPreview, &MoviePreview::startMovie);
    connect(pane->mRepeatButton, &QCheckBox::toggled, mPreview, &MoviePreview::setRepeat);
    connect(pane->mRemoveSongsButton, &QPushButton::clicked, this, &MyController::removeSongs);
    connect(pane->mEjectButton, &QPushButton::clicked, this, &MyController::ejectCD);
    connect(mWindow->mHelpAction, &QAction::triggered, this, &MyController::webFAQ);
    connect(mWindow->mSupportAction, &QAction::triggered, this, &MyController::emailSupport);
    connect(mWindow->mDownloadsAction, &QAction::triggered, this, &MyController::webDownloads);
    connect(qApp, &QCoreApplication::aboutToQuit, pane->songTable, &MyTableView::stopPlaying);
}

// The first project of a run starts the resource movie: at half volume when
// the project was opened, at the preview's own volume when it was created.
// The timer does not look after it, so no percentage is shown.
void MyController::startPreviewOfProject(bool created)
{
    if (!created)
        mPreview->setVolume(0.5f);
    mPreview->player()->play();
}

void MyController::removeSongs()
{
    mSongs->removeSongs();
}

void MyController::ejectCD()
{
    mPreview->forgetMovie();
    mPreview->openResourceMovie();
    const QString song = mWindow->mPreviewPane->songTable->songSelected();
    if (!song.isEmpty()) {
        const QString mountPoint = MountPoints::mountPointFor(song);
        // The root holds the system itself: it is never a disc to eject.
        if (mountPoint != QLatin1String("/"))
            QProcess::startDetached(QStringLiteral("eject"), { mountPoint });
        removeSongs();
    }
    mWindow->mPreviewPane->showPercent(0);
}

// Kestrin has no public web site or mail address: its help commands open the
// documentation installed with it.
void MyController::openDocumentation(const QString &section)
{
    const QString readme = Resources::dataFile(QStringLiteral("README.md"));
    if (readme.isEmpty() || readme.startsWith(QLatin1Char(':')))
        return;
    QUrl url = QUrl::fromLocalFile(readme);
    url.setFragment(section);
    QDesktopServices::openUrl(url);
}

void MyController::emailSupport()
{
    openDocumentation(QStringLiteral("reporting-a-problem"));
}

void MyController::webFAQ()
{
    openDocumentation(QString());
}

void MyController::webDownloads()
{
    openDocumentation(QStringLiteral("quick-start-debian-12"));
}
