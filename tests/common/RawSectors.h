#pragma once

#include <QByteArray>
#include <QString>

// Raw 2352-byte CD-ROM XA Mode 2 sectors for image files made in tests: a
// sync pattern, a header, a subheader and its equal copy, then bytes that
// depend on the sector's number and a seed, so that a sector read from the
// wrong file or the wrong place shows.
class RawSectors
{
public:
    static constexpr qint64 kBlockSize = 2352;

    static QByteArray sectors(qint64 firstSector, qint64 count, int seed);

    // Writes `count` sectors to `path` (in pieces, so that large files need
    // little memory). False when the file cannot be written.
    static bool write(const QString &path, qint64 count, int seed);
    static bool writeBytes(const QString &path, const QByteArray &bytes);
};
