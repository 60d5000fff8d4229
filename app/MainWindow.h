#pragma once

#include <QMainWindow>

class FreeSpaceBar;
class MP3OutlineView;
class MenuPanel;
class PreviewPane;
class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class SettingsModel;
class SettingsPanel;

// Kestrin's main window: the project path, the media tree, the menu designer
// tabs and the settings panel. It only lays the controls out; the
// controllers give them their work.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(SettingsModel *settings, QWidget *parent = nullptr);

    QLineEdit *mCurrentProjectField;
    MP3OutlineView *mMediaTreeView;
    FreeSpaceBar *mFreespaceProgressIndicator;
    QLabel *mMissingItems;
    QTabWidget *mMenuTabView;
    MenuPanel *mMenuPanel;
    PreviewPane *mPreviewPane;
    SettingsPanel *mSettingsPanel;
    QDockWidget *mSettingsDrawer;

    QMenu *mFileMenu;
    QMenu *mMediaMenu;
    QAction *mAddGroupAction;
    QAction *mAddMediaAction;
    QAction *mDeleteAction;
    QAction *mSortAction;
    QAction *mLoadCompilationAction;
    QAction *mSaveCompilationAction;
    QMenu *mDiscMenu;
    QAction *mNewAction;
    QAction *mOpenAction;
    QAction *mQuitAction;
    QAction *mPreferencesAction;
    QAction *mToggleSettingsAction;
    QAction *mBurnAction;
    QAction *mBurnDataDiscAction;
    QAction *mEraseAction;
    QAction *mEjectDiscAction;
    QAction *mConvertAction;
    QAction *mConvertImageBurnAction;
    QAction *mBuildImageAction;
    QMenu *mHelpMenu;
    QAction *mHelpAction;
    QAction *mSupportAction;
    QAction *mDownloadsAction;

signals:
    // The user closed the window; the controller decides what that means.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *makeProjectBar();
    QWidget *makeMediaPane();
    QWidget *makeMediaBar();
    void makeMediaActions();
    QWidget *makeMenuTabs();
    void makeMenus();
};
