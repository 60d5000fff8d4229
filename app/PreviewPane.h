#pragma once

#include <QWidget>

class MyOutlineView;
class MyTableView;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QVideoWidget;

// The preview's part of the main window: the movie view with its buttons and
// percentage, and below it the preview list.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPane(QWidget *parent = nullptr);

    QVideoWidget *movieView;
    QPushButton *mPlayButton;
    QPushButton *mStopButton;
    QPushButton *mRewindButton;
    QCheckBox *mRepeatButton;
    QLabel *mDuration;
    QTabWidget *mListTabs;
    MyTableView *songTable;
    QPushButton *mRemoveSongsButton;
    QPushButton *mEjectButton;
    MyOutlineView *mFileBrowser;

    void showPercent(int percent);

private:
    QWidget *makeControls();
    QWidget *makePreviewList();
    QWidget *makeFileBrowser();
};
