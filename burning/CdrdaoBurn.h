#pragma once

#include "burning/BurnProgress.h"
#include "platform/DiscJobResult.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class ToolProcess;

// Writes a disc image described by a cdrdao TOC with `cdrdao write`, on the
// calling thread (a burn's worker): follows its output for the progress and
// judges the burn by its last complete line, which is the success line or
// cdrdao's own reason for failing. Stop sends SIGQUIT to this cdrdao only,
// the signal it takes for a clean abort.
class CdrdaoBurn
{
public:
    using ProgressHandler = std::function<void(const BurnProgress &progress)>;

    CdrdaoBurn(const QString &tocPath, const QString &deviceString);

    static QStringList arguments(const QString &deviceString, const QString &tocPath);

    // Every change of the progress goes to `onProgress` (on this thread).
    DiscJobResult run(const std::atomic_bool &stop, const ProgressHandler &onProgress);

    // Starts `cdrdao` (a ToolProcess set up to run it), follows what it prints
    // until it ends and judges the burn.
    static DiscJobResult follow(ToolProcess &cdrdao, const std::atomic_bool &stop, const ProgressHandler &onProgress);

private:
    QString mTocPath;
    QString mDeviceString;
};
