#pragma once

#include <QMainWindow>

class PreviewPane;
class QAction;
class QDockWidget;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTreeView;
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
    QTreeView *mMediaTreeView;
    QTabWidget *mMenuTabView;
    PreviewPane *mPreviewPane;
    SettingsPanel *mSettingsPanel;
    QDockWidget *mSettingsDrawer;

    QMenu *mFileMenu;
    QMenu *mDiscMenu;
    QAction *mNewAction;
    QAction *mOpenAction;
    QAction *mQuitAction;
    QAction *mPreferencesAction;
    QAction *mToggleSettingsAction;
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
    QWidget *makeMenuTabs();
    void makeMenus();
};
