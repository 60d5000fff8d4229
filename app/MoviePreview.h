#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;
class SettingsModel;

// The preview in the main window: shows the movie clicked in the media tree
// or in the preview list (its converted MPEG file when there is one), and the
// resource movie when nothing else is loaded. A timer once a second shows how
// far playback has come and handles the end of the movie (Repeat, or the
// preview list's selected entry next).
class MoviePreview : public QObject
{
    Q_OBJECT

public:
    MoviePreview(SettingsModel *settings, QVideoWidget *movieView, QObject *parent = nullptr);
    ~MoviePreview() override;

    // The preview list's selected entry, asked at the end of a movie.
    void setSongSelected(std::function<QString()> songSelected) { mSongSelected = std::move(songSelected); }

    void playThisSong(const QString &path);
    void stopPlaying();
    void resumePlaying();
    void startMovie();
    void openResourceMovie();
    void HandleTimer();

    void setRepeat(bool on) { mRepeat = on; }
    void setVolume(float volume);
    float volume() const;
    bool isPlaying() const;
    bool timerFlag() const { return gMovieNeedsIdleTime; }
    // Forgets the movie the timer looks after (eject).
    void forgetMovie();

    QString selectedItem() const { return mSelectedItem; }
    QString selectedItemPath() const { return mSelectedItemPath; }
    QString loadedFile() const { return mLoadedFile; }
    int lastPercent() const { return gMovieLastPercent; }
    QMediaPlayer *player() const { return mPlayer; }

    // The converted MPEG file of `path` in `folder` (base name + ".mpg",
    // letter case ignored), or empty.
    static QString convertedFile(const QString &folder, const QString &path);
    // How far `current` is into `duration` (both in the movie's time units),
    // in whole percent; none for a movie shorter than 100 units.
    static std::optional<int> percentOf(qint64 current, qint64 duration);

signals:
    // The percentage display changes (only when the whole number changes).
    void percentShown(int percent);

private:
    bool load(const QString &file, const QString &fallback);
    void showPercent(int percent);

    SettingsModel *mSettings;
    QMediaPlayer *mPlayer;
    QAudioOutput *mAudio;
    QTimer mTimer;
    std::function<QString()> mSongSelected;
    qint64 gMovieDuration = 0;
    qint64 gMovieCurrent = 0;
    int gMovieCurrentPercent = 0;
    int gMovieLastPercent = 0;
    bool gMovieNeedsIdleTime = false;
    bool mRepeat = false;
    QString mSelectedItem;
    QString mSelectedItemPath;
    QString mLoadedFile;
};
