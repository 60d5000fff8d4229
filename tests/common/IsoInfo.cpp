#include "common/IsoInfo.h"

#include "platform/ToolProcess.h"

#include <QProcess>

QString IsoInfo::run(const QStringList &arguments)
{
    const ToolProcess::Result result = ToolProcess::run(QStringLiteral("isoinfo"), arguments);
    return result.succeeded() ? result.output : QStringLiteral("isoinfo failed: ") + result.output + result.error;
}

QString IsoInfo::description(const QString &iso)
{
    return run({ QStringLiteral("-d"), QStringLiteral("-i"), iso });
}

QString IsoInfo::jolietListing(const QString &iso)
{
    QProcess process;
    process.start(QStringLiteral("isoinfo"),
        { QStringLiteral("-J"), QStringLiteral("-j"), QStringLiteral("iso8859-1"), QStringLiteral("-f"),
            QStringLiteral("-i"), iso });
    process.waitForFinished();
    return QString::fromLatin1(process.readAllStandardOutput());
}

QByteArray IsoInfo::extract(const QString &iso, const QString &path)
{
    QProcess process;
    process.start(
        QStringLiteral("isoinfo"), { QStringLiteral("-R"), QStringLiteral("-i"), iso, QStringLiteral("-x"), path });
    process.waitForFinished();
    return process.readAllStandardOutput();
}
