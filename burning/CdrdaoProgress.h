#pragma once

#include "burning/BurnProgress.h"

#include <QString>

// Follows what `cdrdao write` prints, one complete line at a time. The bar
// is indeterminate until the first "Wrote N of M MB" line that gives the
// total, shows N of M from then on (the total is read once), and becomes
// indeterminate again once everything is written while cdrdao finishes the
// disc. The last line is what cdrdao said last: its success line, or the
// reason it failed.
class CdrdaoProgress
{
public:
    enum class Step { Preparing, Writing, Finishing, Cancelling };

    static constexpr const char *kSuccessLine = "Writing finished successfully";

    void addLine(const QString &line);
    // Stop was pressed: the step says so from now on, whatever cdrdao prints.
    void cancel();

    Step step() const { return mStep; }
    static QString stepText(Step step);
    BurnProgress progress() const;
    // 0 to 100; 0 while the total is unknown or 0.
    int percent() const { return mPercent; }
    bool isDeterminate() const { return mDeterminate; }
    qint64 writtenAmount() const { return mWritten; }
    // -1 until a "Wrote" line gave it.
    qint64 totalAmount() const { return mTotal; }

    bool hasLine() const { return mHasLine; }
    const QString &lastLine() const { return mLastLine; }
    bool finishedSuccessfully() const;

private:
    void addWroteLine(const QString &line);
    void showPercent(qint64 percent);

    Step mStep = Step::Preparing;
    bool mDeterminate = false;
    bool mCancelled = false;
    int mPercent = 0;
    qint64 mWritten = 0;
    qint64 mTotal = -1;
    bool mHasLine = false;
    QString mLastLine;
};
