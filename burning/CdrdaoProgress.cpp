#include "burning/CdrdaoProgress.h"

#include "authoring/TextScanner.h"

#include <QCoreApplication>

#include <algorithm>

QString CdrdaoProgress::stepText(Step step)
{
    switch (step) {
    case Step::Preparing:
        return QCoreApplication::translate("CdrdaoProgress", "Preparing to burn.");
    case Step::Writing:
        return QCoreApplication::translate("CdrdaoProgress", "Writing disc.");
    case Step::Finishing:
        return QCoreApplication::translate("CdrdaoProgress", "Finishing up.");
    case Step::Cancelling:
        return QCoreApplication::translate("CdrdaoProgress", "Cancelling burn.");
    }
    return {};
}

BurnProgress CdrdaoProgress::progress() const
{
    return { mPercent, !mDeterminate, stepText(mStep) };
}

bool CdrdaoProgress::finishedSuccessfully() const
{
    return mHasLine && mLastLine.startsWith(QLatin1String(kSuccessLine));
}

void CdrdaoProgress::cancel()
{
    mCancelled = true;
    mDeterminate = false;
    mStep = Step::Cancelling;
}

void CdrdaoProgress::addLine(const QString &line)
{
    mHasLine = true;
    mLastLine = line;
    if (line.startsWith(QLatin1String("Wrote")))
        addWroteLine(line);
}

// "Wrote 12 of 400 MB (Buffers 100%  98%)." An amount that cannot be read
// keeps its value, so a total that is still unknown is looked for again on
// the next line.
void CdrdaoProgress::addWroteLine(const QString &line)
{
    TextScanner scanner(line);
    if (scanner.skipPastString(QStringLiteral("Wrote ")))
        scanner.scanInteger(&mWritten);
    if (mTotal == -1 && scanner.skipPastString(QStringLiteral("of ")) && scanner.scanInteger(&mTotal) && !mCancelled) {
        mDeterminate = true;
        mStep = Step::Writing;
    }
    if (mTotal == -1)
        return;
    // A total of 0 says nothing about how far the burn is.
    showPercent(mTotal > 0 ? qint64(__int128(mWritten) * 100 / mTotal) : 0);
}

void CdrdaoProgress::showPercent(qint64 percent)
{
    mPercent = int(std::clamp<qint64>(percent, 0, 100));
    if (percent >= 100 && !mCancelled) {
        mDeterminate = false;
        mStep = Step::Finishing;
    }
}
