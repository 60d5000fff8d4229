#pragma once

// Timing shared by the benchmarks: wall time and processor time, the latter
// counting the encoders and other child processes a run waits for.

#include <QElapsedTimer>

#include <sys/resource.h>

namespace BenchTiming {

// Processor seconds used so far by this process and by its finished children.
inline double processorSeconds()
{
    double seconds = 0;
    for (int who : { RUSAGE_SELF, RUSAGE_CHILDREN }) {
        rusage usage {};
        getrusage(who, &usage);
        seconds
            += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return seconds;
}

struct Timing {
    double wall = 0;
    double processor = 0;
};

// Wall and processor time of `work`.
template <typename Work> Timing timed(Work work)
{
    const double processorBefore = processorSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    return { timer.nsecsElapsed() / 1e9, processorSeconds() - processorBefore };
}

} // namespace BenchTiming
