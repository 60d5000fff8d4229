#include "authoring/VcdxbuildProgress.h"

#include "authoring/TextScanner.h"

#include <algorithm>

namespace {

const QString kScanLine = QStringLiteral("<progress operation=\"scan\"");
const QString kWriteLine = QStringLiteral("<progress operation=\"write\"");
const QString kErrorLine = QStringLiteral("<log level=\"error\">");
const QString kPosition = QStringLiteral("position=\"");
const QString kSize = QStringLiteral("size=\"");

} // namespace

VcdxbuildProgress::VcdxbuildProgress(qint64 totalBytes)
    : mTotal(totalBytes)
{ }

int VcdxbuildProgress::percentOf(qint64 done, qint64 total)
{
    const qint64 hundredth = total / 100;
    if (hundredth <= 0 || done <= 0)
        return 0;
    return int(std::min<qint64>(done / hundredth, 100));
}

VcdxbuildProgress::LineKind VcdxbuildProgress::addLine(const QString &line)
{
    if (line.startsWith(kScanLine)) {
        addScanLine(line);
        return LineKind::Scan;
    }
    if (line.startsWith(kWriteLine)) {
        addWriteLine(line);
        return LineKind::Write;
    }
    if (line.startsWith(kErrorLine)) {
        addErrorLine(line);
        return LineKind::Error;
    }
    return LineKind::Other;
}

void VcdxbuildProgress::addScanLine(const QString &line)
{
    TextScanner scanner(line);
    qint64 position = 0;
    if (!scanner.skipPastString(kPosition) || !scanner.scanInteger(&position))
        return;
    const qint64 growth = position - mLastScanPosition;
    mLastScanPosition = position;
    if (growth > 0)
        mScanned += growth;
    if (mScanSize == -1 && scanner.skipPastString(kSize))
        scanner.scanInteger(&mScanSize);
    // The item is scanned: the next item's line brings its own size.
    if (position >= mScanSize)
        mScanSize = -1;
}

void VcdxbuildProgress::addWriteLine(const QString &line)
{
    TextScanner scanner(line);
    if (!scanner.skipPastString(kPosition) || !scanner.scanInteger(&mWritePosition))
        return;
    if (mWriteSize == -1 && scanner.skipPastString(kSize))
        scanner.scanInteger(&mWriteSize);
}

void VcdxbuildProgress::addErrorLine(const QString &line)
{
    QString text = line.mid(kErrorLine.size());
    if (text.endsWith(QLatin1String("</log>")))
        text.chop(6);
    mErrorLines.append(text.trimmed());
}
