#include "conversion/BbdmuxProgress.h"

#include "conversion/AudioPreparation.h"

#include <algorithm>

BbdmuxProgress::BbdmuxProgress(quint64 inputSize)
    : mHundredth(inputSize / 100)
{ }

quint64 BbdmuxProgress::leadingCount(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && line.at(i).isSpace())
        ++i;
    // No line of bbdmux's counts more than a file holds; longer digit runs
    // stop growing rather than wrap.
    constexpr quint64 kLargest = quint64(1) << 60;
    quint64 count = 0;
    for (; i < line.size() && line.at(i) >= QLatin1Char('0') && line.at(i) <= QLatin1Char('9'); ++i)
        count = std::min(kLargest, count * 10 + quint64(line.at(i).unicode() - '0'));
    return count;
}

int BbdmuxProgress::addLine(const QString &line)
{
    mTotal += leadingCount(line);
    return percent();
}

int BbdmuxProgress::percent() const
{
    return AudioPreparation::sharePercent(mTotal, mHundredth);
}
