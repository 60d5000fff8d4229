#include "burning/CdrdaoBurn.h"

#include "burning/CdrdaoProgress.h"
#include "platform/Resources.h"
#include "platform/ToolProcess.h"

#include <QCoreApplication>

#include <csignal>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CdrdaoBurn", text);
}

DiscJobResult judge(const CdrdaoProgress &progress, const ToolProcess::Result &ran)
{
    if (!ran.started)
        return DiscJobResult::failure(
            ran.error.isEmpty() ? Resources::missingProgramMessage(QStringLiteral("cdrdao")) : ran.error);
    if (progress.finishedSuccessfully())
        return DiscJobResult::success(progress.lastLine());
    QString reason = progress.lastLine();
    if (!progress.hasLine())
        reason = ran.output.isEmpty() ? tr("cdrdao printed nothing.")
                                      : tr("cdrdao stopped in the middle of a line: %1").arg(ran.output.trimmed());
    return ran.stopped ? DiscJobResult::stopped(reason) : DiscJobResult::failure(reason);
}

}

CdrdaoBurn::CdrdaoBurn(const QString &tocPath, const QString &deviceString)
    : mTocPath(tocPath)
    , mDeviceString(deviceString)
{ }

QStringList CdrdaoBurn::arguments(const QString &deviceString, const QString &tocPath)
{
    return { QStringLiteral("write"), QStringLiteral("-n"), QStringLiteral("--overburn"), QStringLiteral("--force"),
        QStringLiteral("--device"), deviceString, QStringLiteral("--driver"), QStringLiteral("generic-mmc"), tocPath };
}

DiscJobResult CdrdaoBurn::run(const std::atomic_bool &stop, const ProgressHandler &onProgress)
{
    ToolProcess cdrdao(QStringLiteral("cdrdao"), arguments(mDeviceString, mTocPath));
    cdrdao.setStopFlag(&stop);
    cdrdao.setStopSignal(SIGQUIT);
    return follow(cdrdao, stop, onProgress);
}

DiscJobResult CdrdaoBurn::follow(ToolProcess &cdrdao, const std::atomic_bool &stop, const ProgressHandler &onProgress)
{
    CdrdaoProgress progress;
    BurnProgress shown = progress.progress();
    onProgress(shown);
    const auto show = [&] {
        if (stop && progress.step() != CdrdaoProgress::Step::Cancelling)
            progress.cancel();
        if (progress.progress() != shown)
            onProgress(shown = progress.progress());
    };

    if (cdrdao.start()) {
        cdrdao.closeWriteChannel();
        QString line;
        // A last line without its line break is not a whole line: it is
        // neither progress nor the verdict.
        while (cdrdao.readLine(&line, false)) {
            progress.addLine(line);
            show();
        }
    }
    show();
    return judge(progress, cdrdao.finish());
}
