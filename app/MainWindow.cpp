#include "app/MainWindow.h"

#include "app/PreviewPane.h"
#include "authoring/ui/MenuPanel.h"
#include "media/ui/FreeSpaceBar.h"
#include "media/ui/MP3OutlineView.h"
#include "settings/ui/SettingsPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

MainWindow::MainWindow(SettingsModel *settings, QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(tr("Kestrin"));
    setObjectName(QStringLiteral("mWindow"));

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(makeProjectBar());
    auto *splitter = new QSplitter(Qt::Horizontal);
    auto *left = new QSplitter(Qt::Vertical);
    left->addWidget(makeMediaPane());
    left->addWidget(makeMenuTabs());
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 1);
    mPreviewPane = new PreviewPane;
    splitter->addWidget(left);
    splitter->addWidget(mPreviewPane);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    mSettingsPanel = new SettingsPanel(settings);
    auto *scroll = new QScrollArea;
    scroll->setWidget(mSettingsPanel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    mSettingsDrawer = new QDockWidget(tr("Settings"));
    mSettingsDrawer->setObjectName(QStringLiteral("mSettingsDrawer"));
    mSettingsDrawer->setWidget(scroll);
    mSettingsDrawer->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, mSettingsDrawer);

    makeMenus();
    resize(1100, 700);
    // The tree is where work starts; the project field only shows a path.
    mMediaTreeView->setFocus();
}

QWidget *MainWindow::makeProjectBar()
{
    auto *bar = new QWidget;
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    mCurrentProjectField = new QLineEdit;
    mCurrentProjectField->setObjectName(QStringLiteral("mCurrentProjectField"));
    mCurrentProjectField->setReadOnly(true);
    mCurrentProjectField->setPlaceholderText(tr("No project open"));
    mCurrentProjectField->setToolTip(tr("The project folder: converted movies, the disc description and the disc "
                                        "image are kept here"));
    auto *label = new QLabel(tr("Pro&ject:"));
    label->setBuddy(mCurrentProjectField);
    row->addWidget(label);
    row->addWidget(mCurrentProjectField, 1);
    return bar;
}

QWidget *MainWindow::makeMediaPane()
{
    auto *pane = new QWidget;
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    mMediaTreeView = new MP3OutlineView;
    mMediaTreeView->setObjectName(QStringLiteral("mMediaTreeView"));
    mMediaTreeView->setToolTip(tr("The disc's movies, in groups; each group becomes one playlist"));
    column->addWidget(mMediaTreeView, 1);
    column->addWidget(makeMediaBar());
    return pane;
}

// Under the tree: its commands and how many movies cannot be found, then
// how full the disc is.
QWidget *MainWindow::makeMediaBar()
{
    makeMediaActions();
    auto *bar = new QWidget;
    auto *rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto *commands = new QHBoxLayout;
    for (QAction *action : { mAddMediaAction, mAddGroupAction, mDeleteAction, mSortAction }) {
        auto *button = new QToolButton;
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        commands->addWidget(button);
    }
    commands->addStretch(1);
    mMissingItems = new QLabel;
    mMissingItems->setObjectName(QStringLiteral("mMissingItems"));
    mMissingItems->setToolTip(tr("Movies of the tree whose files cannot be found"));
    commands->addWidget(mMissingItems);
    rows->addLayout(commands);
    mFreespaceProgressIndicator = new FreeSpaceBar;
    mFreespaceProgressIndicator->setObjectName(QStringLiteral("mFreespaceProgressIndicator"));
    rows->addWidget(mFreespaceProgressIndicator);
    return bar;
}

void MainWindow::makeMediaActions()
{
    mAddMediaAction = new QAction(tr("&Add Movies…"), this);
    mAddMediaAction->setObjectName(QStringLiteral("mAddMediaAction"));
    mAddMediaAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    mAddMediaAction->setToolTip(tr("Add movies, or folders to search for movies, at the end of the tree"));
    mAddGroupAction = new QAction(tr("New &Group"), this);
    mAddGroupAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    mAddGroupAction->setToolTip(tr("Make a new group: one more playlist on the disc"));
    mDeleteAction = new QAction(tr("&Delete"), this);
    mDeleteAction->setShortcut(QKeySequence::Delete);
    mDeleteAction->setToolTip(tr("Take the selected groups and movies out of the disc"));
    mDeleteAction->setEnabled(false);
    // Delete deletes movies only where the tree has the keyboard.
    mDeleteAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    mMediaTreeView->addAction(mDeleteAction);
    mSortAction = new QAction(tr("&Sort"), this);
    mSortAction->setToolTip(tr("Sort every group by name"));
}

QWidget *MainWindow::makeMenuTabs()
{
    mMenuTabView = new QTabWidget;
    mMenuTabView->setObjectName(QStringLiteral("mMenuTabView"));
    auto *noMenu = new QLabel(tr("The disc has no menu: the player plays the groups one after another."));
    noMenu->setWordWrap(true);
    noMenu->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    noMenu->setMargin(12);
    mMenuTabView->addTab(noMenu, tr("No Menu"));
    mMenuPanel = new MenuPanel;
    mMenuTabView->addTab(mMenuPanel, tr("Menu"));
    return mMenuTabView;
}

void MainWindow::makeMenus()
{
    mFileMenu = menuBar()->addMenu(tr("&File"));
    mNewAction = mFileMenu->addAction(tr("&New Project…"));
    mNewAction->setShortcut(QKeySequence::New);
    mOpenAction = mFileMenu->addAction(tr("&Open Project…"));
    mOpenAction->setShortcut(QKeySequence::Open);
    mFileMenu->addSeparator();
    mPreferencesAction = mFileMenu->addAction(tr("&Preferences…"));
    mPreferencesAction->setShortcut(QKeySequence::Preferences);
    mPreferencesAction->setMenuRole(QAction::PreferencesRole);
    mFileMenu->addSeparator();
    mQuitAction = mFileMenu->addAction(tr("&Quit"));
    mQuitAction->setShortcut(QKeySequence::Quit);
    mQuitAction->setMenuRole(QAction::QuitRole);

    mMediaMenu = menuBar()->addMenu(tr("&Media"));
    mMediaMenu->addAction(mAddMediaAction);
    mMediaMenu->addAction(mAddGroupAction);
    mMediaMenu->addAction(mDeleteAction);
    mMediaMenu->addSeparator();
    mMediaMenu->addAction(mSortAction);
    mMediaMenu->addSeparator();
    mLoadCompilationAction = mMediaMenu->addAction(tr("Open &Compilation…"));
    mLoadCompilationAction->setObjectName(QStringLiteral("mLoadCompilationAction"));
    mLoadCompilationAction->setToolTip(tr("Replace the media tree by one kept in a compilation file"));
    mSaveCompilationAction = mMediaMenu->addAction(tr("Save Compi&lation…"));
    mSaveCompilationAction->setObjectName(QStringLiteral("mSaveCompilationAction"));
    mSaveCompilationAction->setToolTip(tr("Keep the media tree in a compilation file"));

    mDiscMenu = menuBar()->addMenu(tr("&Disc"));
    mConvertAction = mDiscMenu->addAction(tr("&Convert Movies"));
    mConvertAction->setObjectName(QStringLiteral("mConvertAction"));
    mConvertAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mConvertAction->setToolTip(tr("Convert the project's new and changed movies for the disc"));
    mBuildImageAction = mDiscMenu->addAction(tr("Build &Image"));
    mBuildImageAction->setObjectName(QStringLiteral("mBuildImageAction"));
    mBuildImageAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    mBuildImageAction->setToolTip(tr("Make the disc image from the converted movies"));
    mBurnAction = mDiscMenu->addAction(tr("&Burn…"));
    mBurnAction->setObjectName(QStringLiteral("mBurnAction"));
    mBurnAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    mBurnAction->setToolTip(tr("Write the disc image to a disc"));
    mBurnDataDiscAction = mDiscMenu->addAction(tr("Burn &Data Disc…"));
    mBurnDataDiscAction->setObjectName(QStringLiteral("mBurnDataDiscAction"));
    mBurnDataDiscAction->setToolTip(tr("Write the media files themselves to a data disc, a folder for every group"));
    mConvertImageBurnAction = mDiscMenu->addAction(tr("Convert, Build Image and Burn…"));
    mConvertImageBurnAction->setObjectName(QStringLiteral("mConvertImageBurnAction"));
    mConvertImageBurnAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    mConvertImageBurnAction->setToolTip(tr("Choose the recorder, then convert, build the image and burn in one go"));
    mDiscMenu->addSeparator();
    mEraseAction = mDiscMenu->addAction(tr("&Erase Disc…"));
    mEraseAction->setObjectName(QStringLiteral("mEraseAction"));
    mEjectDiscAction = mDiscMenu->addAction(tr("E&ject Disc"));
    mEjectDiscAction->setObjectName(QStringLiteral("mEjectDiscAction"));
    mEjectDiscAction->setToolTip(tr("Eject the disc of every recorder"));
    mDiscMenu->addSeparator();
    mToggleSettingsAction = mSettingsDrawer->toggleViewAction();
    mToggleSettingsAction->setText(tr("&Settings Panel"));
    mToggleSettingsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mDiscMenu->addAction(mToggleSettingsAction);

    mHelpMenu = menuBar()->addMenu(tr("&Help"));
    mHelpAction = mHelpMenu->addAction(tr("Kestrin &Help"));
    mHelpAction->setShortcut(QKeySequence::HelpContents);
    mSupportAction = mHelpMenu->addAction(tr("&Reporting a Problem"));
    mDownloadsAction = mHelpMenu->addAction(tr("&Installing Kestrin"));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}
