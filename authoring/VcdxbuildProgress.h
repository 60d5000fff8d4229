#pragma once

#include <QString>
#include <QStringList>

// Follows what `vcdxbuild --progress --gui` prints, one line at a time.
//
// The scan share is that of all MPEG bytes scanned so far: every sequence
// item is scanned with positions that start again at 0, so only the growth
// of the position counts. The write share is the position within the one
// write operation, against the size its first line gave. Error lines are
// kept for the failure message.
class VcdxbuildProgress
{
public:
    enum class LineKind { Scan, Write, Error, Other };

    // `totalBytes`: the sum of the sizes of the MPEG files being scanned.
    explicit VcdxbuildProgress(qint64 totalBytes);

    LineKind addLine(const QString &line);

    // Whole percent, 0 to 100.
    int scanPercent() const { return percentOf(mScanned, mTotal); }
    int writePercent() const { return percentOf(mWritePosition, mWriteSize); }

    qint64 scannedBytes() const { return mScanned; }
    // The text of every <log level="error"> line, in order.
    const QStringList &errorLines() const { return mErrorLines; }

    // `done` in whole percent of `total`, counted in hundredths of it as
    // vcdxbuild's own front ends do: 0 while a hundredth is 0 (a total below
    // 100), never above 100.
    static int percentOf(qint64 done, qint64 total);

private:
    void addScanLine(const QString &line);
    void addWriteLine(const QString &line);
    void addErrorLine(const QString &line);

    qint64 mTotal;
    qint64 mScanned = 0;
    qint64 mLastScanPosition = 0;
    qint64 mScanSize = -1; // -1: read it from the next scan line
    qint64 mWritePosition = 0;
    qint64 mWriteSize = -1; // -1: read it from the next write line
    QStringList mErrorLines;
};
