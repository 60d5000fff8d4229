#include "media/FolderSearch.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <thread>

#include <dirent.h>
#include <sys/stat.h>

namespace {

// Enough findings to be worth a trip to the main thread, and the longest
// the main thread waits for news while a search runs.
constexpr int kBatchSize = 256;
constexpr qint64 kFlushMilliseconds = 40;

struct Entry
{
    QByteArray name;
    bool isFolder;
};

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Follows symbolic links, as a file manager does.
bool isFolderEntry(const QByteArray &folder, const dirent &entry)
{
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat status;
    return ::stat(joined(folder, QByteArray(entry.d_name)).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The folder's entries in name order (code points, case first), each listed
// once; empty for a folder that cannot be read.
std::vector<Entry> listFolder(const QByteArray &path)
{
    std::vector<Entry> entries;
    DIR *folder = ::opendir(path.constData());
    if (!folder)
        return entries;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        entries.push_back({ name, isFolderEntry(path, *entry) });
    }
    ::closedir(folder);
    // UTF-8 in byte order is code-point order.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}

} // namespace

FolderSearch::FolderSearch(const QString &folder, std::shared_ptr<std::atomic_bool> cancelFlag, QObject *parent)
    : QObject(parent)
    , mFolder(folder)
    , mCancelFlag(std::move(cancelFlag))
    , mThread(QThread::create([this] { HandleThread(); }))
{ }

FolderSearch::~FolderSearch()
{
    mStop = true;
    wait();
}

void FolderSearch::start()
{
    mThread->start(QThread::LowPriority);
}

bool FolderSearch::isRunning() const
{
    return mThread->isRunning();
}

void FolderSearch::wait()
{
    mThread->wait();
}

bool FolderSearch::isMovieName(QStringView path)
{
    static const QStringList extensions { QStringLiteral("MOV"), QStringLiteral("AVI"), QStringLiteral("MP4"),
        QStringLiteral("MPG"), QStringLiteral("MPEG") };
    const QStringView name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView extension = name.mid(dot + 1);
    return std::any_of(extensions.cbegin(), extensions.cend(),
        [extension](const QString &movie) { return extension.compare(movie, Qt::CaseInsensitive) == 0; });
}

bool FolderSearch::isExcludedFolder(QStringView path)
{
    // Network and automounted volumes, the system's own folders, and the
    // kernel's file systems, which hold no movies but endless entries.
    static const QStringList excluded { QStringLiteral("/Network"), QStringLiteral("/private"),
        QStringLiteral("/automount"), QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev") };
    return std::any_of(excluded.cbegin(), excluded.cend(), [path](const QString &folder) {
        return path.startsWith(folder) && (path.size() == folder.size() || path.at(folder.size()) == QLatin1Char('/'));
    });
}

void FolderSearch::HandleThread()
{
    mSinceFlush.start();
    const int movies = addMP3(QFile::encodeName(mFolder), 0);
    flush();
    emit finished(movies, mCancelled);
}

bool FolderSearch::isCancelled() const
{
    return mStop.load() || (mCancelFlag && mCancelFlag->load());
}

bool FolderSearch::firstVisit(const QByteArray &path)
{
    struct stat status;
    if (::stat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    return mVisited.insert({ status.st_dev, status.st_ino }).second;
}

// Searches one folder into the group numbered `folderNumber`; answers the
// number of movies found in it and below. Once cancelled, no later step of
// any level runs.
int FolderSearch::addMP3(const QByteArray &path, int folderNumber)
{
    std::this_thread::sleep_for(kPausePerFolder);
    const QString name = QFile::decodeName(path);
    if (isExcludedFolder(name))
        return 0;
    emit folderBegun(name);
    if (mSinceFlush.hasExpired(kFlushMilliseconds))
        flush();
    if (isCancelled()) {
        mCancelled = true;
        return 0;
    }
    if (!firstVisit(path))
        return 0;
    int movies = 0;
    for (const Entry &entry : listFolder(path)) {
        const QByteArray entryPath = joined(path, entry.name);
        if (entry.isFolder) {
            const int number = mNextFolder++;
            mUnannounced.push_back({ number, folderNumber, QFile::decodeName(entryPath) });
            movies += addMP3(entryPath, number);
            if (!mUnannounced.empty() && mUnannounced.back().folder == number)
                mUnannounced.pop_back();
            if (mCancelled)
                break;
        } else if (isMovieName(QFile::decodeName(entry.name))) {
            addMovie(entryPath, folderNumber);
            ++movies;
        }
    }
    return movies;
}

void FolderSearch::addMovie(const QByteArray &path, int parent)
{
    // The folders on the way down show up with their first movie.
    for (Found &folder : mUnannounced)
        mBatch.append(std::move(folder));
    mUnannounced.clear();
    mBatch.append({ -1, parent, QFile::decodeName(path) });
    if (mBatch.size() >= kBatchSize)
        flush();
}

void FolderSearch::flush()
{
    mSinceFlush.restart();
    if (mBatch.isEmpty())
        return;
    emit found(mBatch);
    mBatch.clear();
}
