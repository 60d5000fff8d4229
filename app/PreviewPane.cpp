#include "app/PreviewPane.h"

#include "app/MyTableView.h"
#include "media/ui/MyOutlineView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QVideoWidget>

PreviewPane::PreviewPane(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *splitter = new QSplitter(Qt::Vertical);
    auto *viewer = new QWidget;
    auto *viewerLayout = new QVBoxLayout(viewer);
    viewerLayout->setContentsMargins(0, 0, 0, 0);
    movieView = new QVideoWidget;
    movieView->setObjectName(QStringLiteral("movieView"));
    movieView->setMinimumSize(320, 180);
    viewerLayout->addWidget(movieView, 1);
    viewerLayout->addWidget(makeControls());
    splitter->addWidget(viewer);
    splitter->addWidget(makePreviewList());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter);
}

QWidget *PreviewPane::makeControls()
{
    auto *controls = new QWidget;
    auto *row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    mRewindButton = new QPushButton(style()->standardIcon(QStyle::SP_MediaSkipBackward), QString());
    mRewindButton->setToolTip(tr("Back to the beginning"));
    mPlayButton = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), QString());
    mPlayButton->setToolTip(tr("Play"));
    mStopButton = new QPushButton(style()->standardIcon(QStyle::SP_MediaStop), QString());
    mStopButton->setToolTip(tr("Stop"));
    mRepeatButton = new QCheckBox(tr("&Repeat"));
    mRepeatButton->setObjectName(QStringLiteral("mRepeatButton"));
    mRepeatButton->setToolTip(tr("Start the movie again when it ends"));
    mDuration = new QLabel;
    mDuration->setObjectName(QStringLiteral("mDuration"));
    mDuration->setToolTip(tr("How far the movie has played"));
    mDuration->setMinimumWidth(mDuration->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
    mDuration->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QPushButton *button : { mRewindButton, mPlayButton, mStopButton })
        row->addWidget(button);
    row->addWidget(mRepeatButton);
    row->addStretch();
    row->addWidget(mDuration);
    showPercent(0);
    return controls;
}

QWidget *PreviewPane::makePreviewList()
{
    mListTabs = new QTabWidget;
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    songTable = new MyTableView;
    songTable->setToolTip(tr("Drop movie files here to watch them; click to show, double-click to play"));
    mRemoveSongsButton = new QPushButton(tr("Clear List"));
    mRemoveSongsButton->setToolTip(tr("Remove every movie from the preview list"));
    mEjectButton = new QPushButton(tr("&Eject"));
    mEjectButton->setToolTip(tr("Eject the disc that the selected movie comes from"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mRemoveSongsButton);
    buttons->addStretch();
    buttons->addWidget(mEjectButton);
    column->addWidget(songTable, 1);
    column->addLayout(buttons);
    mListTabs->addTab(page, tr("Preview List"));
    mListTabs->addTab(makeFileBrowser(), tr("Files"));
    return mListTabs;
}

QWidget *PreviewPane::makeFileBrowser()
{
    mFileBrowser = new MyOutlineView;
    mFileBrowser->setObjectName(QStringLiteral("mFileBrowser"));
    mFileBrowser->setHeaderHidden(true);
    mFileBrowser->setToolTip(tr("Folders and movie files; drag a movie onto the media tree or the preview list"));
    mFileBrowser->setDragEnabled(true);
    mFileBrowser->setDragDropMode(QAbstractItemView::DragOnly);
    mFileBrowser->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return mFileBrowser;
}

void PreviewPane::showPercent(int percent)
{
    mDuration->setText(tr("%1 %").arg(percent));
}
