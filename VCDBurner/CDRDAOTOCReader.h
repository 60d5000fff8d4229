#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the small part of the cdrdao TOC language that vcdxbuild writes for a
// Video CD: a CD_ROM_XA disc of up to 99 TRACK MODE2_RAW tracks whose sectors
// come from DATAFILE lines. Anything else is refused, so that such a TOC is
// left to cdrdao, which understands the whole language.
class CDRDAOTOCReader
{
public:
    static constexpr int kMaximumTracks = 99;
    static constexpr qint64 kBlockSize = 2352;

    enum class Failure {
        None,
        InvalidArgument, // the TOC says something that is not read here
        ObjectNotAvailable, // a file that the TOC names is not there
    };

    struct Result
    {
        // One entry per track, in TOC order: the track's DATAFILE paths in the
        // order of their lines. A last track without a DATAFILE is dropped.
        QList<QStringList> trackList;
        Failure failure = Failure::None;
        QString reason; // why the TOC was refused, for the log

        bool succeeded() const { return failure == Failure::None; }
    };

    // A TOC file that cannot be read or is not UTF-8 counts as an empty one:
    // it succeeds with no tracks.
    static Result read(const QString &tocPath);

    // DATAFILE paths are taken as written: a relative one is relative to the
    // working folder, as cdrdao takes it.
    static Result readText(const QString &text);
};
