#include "common/RawSectors.h"

#include <QFile>

namespace {

void fillSector(char *sector, qint64 number, int seed)
{
    static const char sync[12] = { 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0 };
    memcpy(sector, sync, sizeof sync);
    sector[12] = char(number >> 16);
    sector[13] = char(number >> 8);
    sector[14] = char(number);
    sector[15] = 2; // Mode 2
    const char subheader[4] = { 1, 1, char(0x08), 0 }; // file, channel, data, coding
    memcpy(sector + 16, subheader, 4);
    memcpy(sector + 20, subheader, 4);
    for (int i = 24; i < RawSectors::kBlockSize; ++i)
        sector[i] = char((number * 7 + seed * 131 + i) & 0xff);
}

} // namespace

QByteArray RawSectors::sectors(qint64 firstSector, qint64 count, int seed)
{
    QByteArray bytes(count * kBlockSize, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        fillSector(bytes.data() + i * kBlockSize, firstSector + i, seed);
    return bytes;
}

bool RawSectors::write(const QString &path, qint64 count, int seed)
{
    constexpr qint64 kSectorsAtOnce = 1024;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (qint64 first = 0; first < count; first += kSectorsAtOnce) {
        const QByteArray piece = sectors(first, qMin(kSectorsAtOnce, count - first), seed);
        if (file.write(piece) != piece.size())
            return false;
    }
    return true;
}

bool RawSectors::writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
