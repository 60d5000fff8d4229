#pragma once

#include "app/SelectProjectPanel.h"
#include "settings/ProjectFolder.h"

#include <QFileDialog>
#include <QObject>
#include <QPointer>

class MainWindow;
class MP3DataSource;
class MediaTree;
class MoviePreview;
class PreviewList;
class Preferences;
class PreferencesWindow;

class SettingChanges;
class SettingsModel;

// The main window's controller: start-up, choosing, creating and opening a
// project folder, leaving it, and quitting. There is no way to work without
// a project, so the select-project panel comes back until one is open or the
// user quits. Every panel is window-modal; its end arrives in a did-end slot.
class MyController : public QObject
{
    Q_OBJECT

public:
    MyController(MainWindow *window, SettingsModel *settings, Preferences *preferences, MediaTree *mediaTree,
        QObject *parent = nullptr);
    ~MyController() override;

    void awakeFromNib();
    // Shows the window, then opens `projectFolder` when it is a project
    // folder, else the select-project panel.
    void applicationDidFinishLaunching(const QString &projectFolder = QString());

    void setProjectFolder();
    void menuNew();
    void menuOpen();
    void menuQuit();

    // The panels while they are up (for whoever drives the window).
    SelectProjectPanel *selectProjectPanel() const { return mSelectProjectPanel; }
    QFileDialog *savePanel() const { return mSavePanel; }
    QFileDialog *openPanel() const { return mOpenPanel; }
    PreferencesWindow *preferencesWindow() const { return mPreferencesWindow; }
    SettingChanges *settingChanges() const { return mSettingChanges; }
    bool holdsLock() const { return mProjectFolder.holdsLock(); }
    MoviePreview *preview() const { return mPreview; }
    PreviewList *songs() const { return mSongs; }
    MP3DataSource *dataSource() const { return mDataSource; }

    // Ejects the disc that the preview list's selected movie comes from.
    void ejectCD();
    void removeSongs();
    void setMIgnoreInsert(bool ignore) { mIgnoreInsert = ignore; }
    bool ignoreInsert() const { return mIgnoreInsert; }
    void emailSupport();
    void webFAQ();
    void webDownloads();

signals:
    // Quit was chosen: the application should end now.
    void quitRequested();
    // A project was opened or created; `first` for the first one of this run.
    void projectOpened(const QString &folder, bool created, bool first);

private slots:
    void selectPanelDidEnd(int returnCode);
    void savePanelDidEnd(int returnCode);
    void replaceAlertDidEnd(int returnCode);
    void openPanelDidEnd(int returnCode);

private:
    void leaveCurrentProject();
    void showSelectPanelAgain();
    void createProject(const QString &path);
    void openProject(const QString &folder);
    void saveProject();
    void connectPreview();
    void connectMediaTree();
    void startPreviewOfProject(bool created);
    void openDocumentation(const QString &section);
    QString currentProject() const;
    void setCurrentProject(const QString &folder);

    MainWindow *mWindow;
    SettingsModel *mSettings;
    Preferences *mPreferences;
    MediaTree *mMediaTree;
    ProjectFolder mProjectFolder;
    bool mFirstTime = true;
    QString mPendingNewPath;
    QPointer<SelectProjectPanel> mSelectProjectPanel;
    QPointer<QFileDialog> mSavePanel;
    QPointer<QFileDialog> mOpenPanel;
    PreferencesWindow *mPreferencesWindow = nullptr;
    SettingChanges *mSettingChanges = nullptr;
    MoviePreview *mPreview;
    PreviewList *mSongs;
    MP3DataSource *mDataSource;
    bool mIgnoreInsert = false;
};
