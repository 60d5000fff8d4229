#pragma once

#include <QFile>
#include <QString>

#include <memory>

// File-system work of opening and creating a project folder: the lock handle
// and the safe replacement of whatever exists where a new project goes.
class ProjectFolder
{
public:
    static constexpr const char *kTreeFileName = "Kestrin.tree";
    static constexpr const char *kLockFileName = "Kestrin.lock";

    // A folder counts as a project folder when it holds "Kestrin.tree".
    static bool isProjectFolder(const QString &folder);

    // Why `path` must not be replaced by a new project (the user's home
    // folder, the root, a folder that holds the open project), or empty when
    // it may be.
    static QString whyNotReplaceable(const QString &path, const QString &currentProject);

    // Removes what is at `path` (a file, a link, or a folder with all its
    // contents, never following a symbolic link out of it) and makes an empty
    // folder there. False when either step failed.
    static bool replaceWithEmptyFolder(const QString &path);

    // Releases any lock held, then opens folder/"Kestrin.lock" for writing
    // and removes the file at once: the open handle is the lock. Without a
    // writable folder there is no lock handle.
    void takeLock(const QString &folder);
    void releaseLock();
    bool holdsLock() const { return mLockFile != nullptr; }

private:
    std::unique_ptr<QFile> mLockFile;
};
