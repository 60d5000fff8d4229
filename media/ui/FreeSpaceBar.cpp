#include "media/ui/FreeSpaceBar.h"

#include <QLocale>

#include <cmath>

namespace {

// The bar counts in seconds, so a few seconds of movie already show.
constexpr int kStepsPerMinute = 60;

} // namespace

FreeSpaceBar::FreeSpaceBar(QWidget *parent)
    : QProgressBar(parent)
{
    setTextVisible(true);
    showFigures();
}

void FreeSpaceBar::setMinutesUsed(double minutes)
{
    mMinutesUsed = minutes;
    showFigures();
}

void FreeSpaceBar::setMaximumMinutes(int minutes)
{
    mMaximumMinutes = minutes;
    showFigures();
}

void FreeSpaceBar::showFigures()
{
    const int maximum = qMax(1, mMaximumMinutes * kStepsPerMinute);
    setRange(0, maximum);
    setValue(qMin(maximum, int(std::lround(mMinutesUsed * kStepsPerMinute))));
    const QString used = QLocale().toString(mMinutesUsed, 'f', 1);
    setFormat(tr("%1 of %2 minutes").arg(used).arg(mMaximumMinutes));
    setToolTip(mMinutesUsed > mMaximumMinutes ? tr("The movies are %1 minutes longer than the disc holds")
                                                    .arg(QLocale().toString(mMinutesUsed - mMaximumMinutes, 'f', 1))
                                              : tr("Minutes of movie on the disc, and what the disc holds"));
}
