#include "app/MoviePreview.h"

#include "platform/Movie.h"
#include "platform/Resources.h"
#include "settings/SettingsModel.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>
#include <QVideoWidget>

namespace {

// Qt 6.4's FFmpeg media backend crashes when a second player is made after
// the first one has gone, so the process keeps one player for good. It also
// crashes playing sound on a machine without a sound device: there the
// volume is kept but no sound is played.
QMediaPlayer *sharedPlayer()
{
    static QPointer<QMediaPlayer> player;
    if (!player) {
        player = new QMediaPlayer(QCoreApplication::instance());
        auto *audio = new QAudioOutput(player);
        if (!QMediaDevices::defaultAudioOutput().isNull())
            player->setAudioOutput(audio);
    }
    return player;
}

QAudioOutput *volumeOf(QMediaPlayer *player)
{
    return player->findChild<QAudioOutput *>();
}

} // namespace

MoviePreview::MoviePreview(SettingsModel *settings, QVideoWidget *movieView, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mPlayer(sharedPlayer())
    , mAudio(volumeOf(mPlayer))
{
    mPlayer->stop();
    mAudio->setVolume(1.0f);
    if (movieView)
        mPlayer->setVideoOutput(movieView);
    mTimer.setInterval(1000);
    connect(&mTimer, &QTimer::timeout, this, &MoviePreview::HandleTimer);
    mTimer.start();
}

MoviePreview::~MoviePreview()
{
    mPlayer->stop();
    mPlayer->setVideoOutput(nullptr);
}

QString MoviePreview::convertedFile(const QString &folder, const QString &path)
{
    if (folder.isEmpty())
        return {};
    const QString wanted = QFileInfo(path).completeBaseName() + QStringLiteral(".mpg");
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(entry);
    return {};
}

std::optional<int> MoviePreview::percentOf(qint64 current, qint64 duration)
{
    const qint64 divisor = duration / 100;
    if (divisor == 0)
        return std::nullopt;
    return int(current / divisor);
}

void MoviePreview::playThisSong(const QString &path)
{
    QString file = convertedFile(mSettings->projectFolder(), path);
    if (file.isEmpty() && QFileInfo::exists(path))
        file = path;
    if (file.isEmpty())
        return;
    mSelectedItem.clear();
    mSelectedItemPath.clear();
    if (!load(file, path))
        return;
    mPlayer->play();
    gMovieNeedsIdleTime = true;
    mSelectedItem = QFileInfo(path).fileName();
    mSelectedItemPath = path;
}

// Opens `file` (or `fallback` when `file` is no movie) into the view. The
// volume the user set carries over, unless it was 0.
bool MoviePreview::load(const QString &file, const QString &fallback)
{
    QString chosen = file;
    std::unique_ptr<Movie> movie = Movie::open(chosen);
    if (!movie && fallback != file) {
        chosen = fallback;
        movie = Movie::open(chosen);
    }
    if (!movie)
        return false;
    gMovieDuration = movie->duration();
    showPercent(0);
    if (mAudio->volume() == 0.0f)
        mAudio->setVolume(1.0f);
    mPlayer->setSource(QUrl::fromLocalFile(chosen));
    mLoadedFile = chosen;
    return true;
}

void MoviePreview::showPercent(int percent)
{
    gMovieCurrentPercent = percent;
    gMovieLastPercent = percent;
    emit percentShown(percent);
}

void MoviePreview::stopPlaying()
{
    mPlayer->pause();
    gMovieNeedsIdleTime = false;
}

void MoviePreview::resumePlaying()
{
    mPlayer->play();
    gMovieNeedsIdleTime = true;
}

void MoviePreview::startMovie()
{
    mPlayer->setPosition(0);
}

void MoviePreview::forgetMovie()
{
    gMovieNeedsIdleTime = false;
}

void MoviePreview::openResourceMovie()
{
    const QString resource = Resources::dataFile(QStringLiteral("VideoFile.mov"));
    if (resource.isEmpty()) {
        qWarning("openResourceMovie: the resource movie VideoFile.mov is not installed");
        return;
    }
    mPlayer->stop();
    if (std::unique_ptr<Movie> movie = Movie::open(resource))
        gMovieDuration = movie->duration();
    mPlayer->setSource(QUrl::fromLocalFile(resource));
    mLoadedFile = resource;
}

void MoviePreview::setVolume(float volume)
{
    mAudio->setVolume(volume);
}

float MoviePreview::volume() const
{
    return mAudio->volume();
}

bool MoviePreview::isPlaying() const
{
    return mPlayer->playbackState() == QMediaPlayer::PlayingState;
}

void MoviePreview::HandleTimer()
{
    if (!gMovieNeedsIdleTime)
        return;
    if (isPlaying()) {
        gMovieCurrent = mPlayer->position() * Movie::kTimeScale / 1000;
        if (const std::optional<int> percent = percentOf(gMovieCurrent, gMovieDuration)) {
            gMovieCurrentPercent = *percent;
            if (gMovieCurrentPercent != gMovieLastPercent)
                showPercent(gMovieCurrentPercent);
        }
    }
    if (mPlayer->mediaStatus() != QMediaPlayer::EndOfMedia)
        return;
    if (mRepeat) {
        mPlayer->setPosition(0);
        mPlayer->play();
    } else if (mSongSelected) {
        const QString next = mSongSelected();
        if (!next.isEmpty())
            playThisSong(next);
    }
}
