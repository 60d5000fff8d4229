#include "platform/DRMSF.h"

DRMSF::DRMSF(int minutes, int seconds, int frames)
    : mFrames(uint32_t((minutes * kSecondsPerMinute + seconds) * kFramesPerSecond + frames))
{
}

QString DRMSF::description() const
{
    return QStringLiteral("%1:%2:%3")
        .arg(minutes(), 2, 10, QLatin1Char('0'))
        .arg(seconds(), 2, 10, QLatin1Char('0'))
        .arg(frames(), 2, 10, QLatin1Char('0'));
}
