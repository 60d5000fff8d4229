#pragma once

#include <QListView>

class MoviePreview;
class PreviewList;

// The preview list's view: a click shows the entry stopped on its first
// frame, a double click plays it. Every other row is painted pale green.
class MyTableView : public QListView
{
    Q_OBJECT

public:
    explicit MyTableView(QWidget *parent = nullptr);

    void setController(MoviePreview *preview, PreviewList *songs);

    // The entry of the selected row, or empty.
    QString songSelected() const;

    void selectSong();
    void playSong();
    void stopPlaying();
    void resumePlaying();
    bool isRunning() const { return mIsRunning; }

private:
    void loadSelectedSong(bool play);

    MoviePreview *myController = nullptr;
    PreviewList *mSongs = nullptr;
    bool mIsRunning = false;
};
