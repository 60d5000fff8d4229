#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which movies of the media list a conversion makes again: those whose
// base.mpg is missing, older than the movie, or stale by the MPEG
// invalidation marker. A movie missing from disk is left out, whatever its
// base.mpg.
class MovieSelection
{
public:
    // Two different movie files with the same base: they share base.mpg, so
    // only `kept` (the first in the media list) is converted and both of
    // them show its picture on the disc.
    struct SharedBase
    {
        QString kept;
        QString other;

        bool operator==(const SharedBase &) const = default;
    };

    struct Result
    {
        QStringList workList; // movie paths in media-list order, each once
        QList<SharedBase> sharedBases;
    };

    static Result select(const QStringList &mediaFiles, const QString &projectFolder);

    // The movie is on disk and its `mpg` is missing, stale by the marker, or
    // strictly older than the movie.
    static bool needsConverting(const QString &movie, const QString &mpg, bool mpegsInvalid);

    static QList<SharedBase> sharedBases(const QStringList &mediaFiles);
};
