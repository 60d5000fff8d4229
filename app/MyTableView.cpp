#include "app/MyTableView.h"

#include "app/MoviePreview.h"
#include "app/PreviewList.h"

MyTableView::MyTableView(QWidget *parent)
    : QListView(parent)
{
    setObjectName(QStringLiteral("songTable"));
    setAlternatingRowColors(true);
    QPalette stripes = palette();
    stripes.setColor(QPalette::AlternateBase, QColor::fromRgbF(0.8901961f, 0.99607843f, 0.9019608f));
    setPalette(stripes);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(true);
    setAcceptDrops(true);
    connect(this, &QListView::clicked, this, &MyTableView::selectSong);
    connect(this, &QListView::doubleClicked, this, &MyTableView::playSong);
}

void MyTableView::setController(MoviePreview *preview, PreviewList *songs)
{
    myController = preview;
    mSongs = songs;
    setModel(songs);
    connect(songs, &PreviewList::dropped, this, [this](int row) {
        setCurrentIndex(model()->index(row, 0));
        selectionModel()->select(model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    });
}

QString MyTableView::songSelected() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() || !mSongs ? QString() : mSongs->songAtIndex(rows.first().row());
}

// A click shows the entry stopped on its first frame; a double click plays it.
void MyTableView::selectSong()
{
    loadSelectedSong(false);
}

void MyTableView::playSong()
{
    loadSelectedSong(true);
}

void MyTableView::loadSelectedSong(bool play)
{
    if (mIsRunning)
        stopPlaying();
    const QString song = songSelected();
    if (song.isEmpty())
        return;
    myController->playThisSong(song);
    if (!play)
        myController->stopPlaying();
    mIsRunning = play;
}

void MyTableView::stopPlaying()
{
    myController->stopPlaying();
    mIsRunning = false;
}

void MyTableView::resumePlaying()
{
    myController->resumePlaying();
    mIsRunning = true;
}
