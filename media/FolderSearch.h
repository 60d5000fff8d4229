#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QThread;

// A dropped folder searched for movies, with all its subfolders, on a thread
// of its own. The search only reads the file system; what it finds reaches
// the main thread through found(), in the order of the walk, and the main
// thread builds the groups and items itself. A folder shows up only once a
// movie has been found somewhere below it, so folders without movies never
// appear.
//
// Entries are taken in name order. A folder reached a second time, through
// a symbolic link, is passed over, so cycles of links end. The cancel flag
// may be shared by several searches: one Cancel stops them all, each at the
// next folder it begins.
class FolderSearch : public QObject
{
    Q_OBJECT

public:
    // One finding. A folder is announced before its first movie; `folder`
    // numbers it (the searched folder itself is 0 and is never announced), a
    // movie has none (-1). `parent` is the number of the folder holding it.
    struct Found
    {
        int folder = -1;
        int parent = 0;
        QString path;
        bool isFolder() const { return folder >= 0; }
    };
    using Batch = QList<Found>;

    // Keeps a deep search from taking the whole processor.
    static constexpr std::chrono::microseconds kPausePerFolder { 200 };

    FolderSearch(const QString &folder, std::shared_ptr<std::atomic_bool> cancelFlag, QObject *parent = nullptr);
    // Stops the search (this one only) and waits for its thread.
    ~FolderSearch() override;

    const QString &folder() const { return mFolder; }
    void start();
    bool isRunning() const;
    void wait();

    // A movie by its name: the extension, in any case, is MOV, AVI, MP4, MPG
    // or MPEG.
    static bool isMovieName(QStringView path);
    // Folders that are never searched: those of other machines and of the
    // system, matched by whole path components.
    static bool isExcludedFolder(QStringView path);

signals:
    // These come from the search's thread. Before the cancel flag is looked
    // at for the folder, so a receiver connected directly may still stop it.
    void folderBegun(const QString &path);
    void found(const FolderSearch::Batch &batch);
    // After the last found(); `movies` counts the items found.
    void finished(int movies, bool cancelled);

private:
    void HandleThread();
    int addMP3(const QByteArray &path, int folderNumber);
    bool isCancelled() const;
    bool firstVisit(const QByteArray &path);
    void addMovie(const QByteArray &path, int parent);
    void flush();

    QString mFolder;
    std::shared_ptr<std::atomic_bool> mCancelFlag;
    std::atomic_bool mStop { false };
    std::unique_ptr<QThread> mThread;

    // Walk state, owned by the search's thread while it runs.
    bool mCancelled = false;
    int mNextFolder = 1;
    std::set<std::pair<unsigned long long, unsigned long long>> mVisited; // device, inode
    std::vector<Found> mUnannounced; // folders entered that hold no movie yet, outermost first
    Batch mBatch;
    QElapsedTimer mSinceFlush;
};
