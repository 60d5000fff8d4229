#include "conversion/MovieSelection.h"

#include "conversion/MovieFiles.h"
#include "settings/Preferences.h"

#include <QFileInfo>
#include <QHash>

#include <sys/stat.h>

namespace {

// The file's own modification time, not its link target's, to the
// nanosecond; false when it cannot be read.
bool modificationTime(const QString &path, timespec *time)
{
    struct stat status
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    *time = status.st_mtim;
    return true;
}

bool later(const timespec &a, const timespec &b)
{
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

} // namespace

bool MovieSelection::needsConverting(const QString &movie, const QString &mpg, bool mpegsInvalid)
{
    timespec movieTime {};
    if (!QFileInfo::exists(movie) || !modificationTime(movie, &movieTime))
        return false;
    timespec mpgTime {};
    if (!modificationTime(mpg, &mpgTime) || mpegsInvalid)
        return true;
    return later(movieTime, mpgTime);
}

QList<MovieSelection::SharedBase> MovieSelection::sharedBases(const QStringList &mediaFiles)
{
    QHash<QString, QString> firstWithBase;
    QList<SharedBase> shared;
    for (const QString &movie : mediaFiles) {
        const QString base = MovieFiles::baseName(movie);
        const auto first = firstWithBase.constFind(base);
        if (first == firstWithBase.cend())
            firstWithBase.insert(base, movie);
        else if (*first != movie && !shared.contains(SharedBase { *first, movie }))
            shared.append({ *first, movie });
    }
    return shared;
}

MovieSelection::Result MovieSelection::select(const QStringList &mediaFiles, const QString &projectFolder)
{
    Result result;
    result.sharedBases = sharedBases(mediaFiles);
    const bool invalid = !Preferences::getValidMPEGs(projectFolder);
    QHash<QString, QString> ownerOfBase;
    for (const QString &movie : mediaFiles) {
        const QString owner = ownerOfBase.value(MovieFiles::baseName(movie), movie);
        ownerOfBase.insert(MovieFiles::baseName(movie), owner);
        if (owner != movie || result.workList.contains(movie))
            continue;
        if (needsConverting(movie, MovieFiles::mpgPath(movie, projectFolder), invalid))
            result.workList.append(movie);
    }
    return result;
}
