#include "common/VcdInfo.h"

#include "platform/ToolProcess.h"

#include <QRegularExpression>

namespace {

QString quotedField(const QString &output, const QString &field)
{
    const QRegularExpression pattern(
        QStringLiteral("^\\s*%1: `([^']*)'").arg(field), QRegularExpression::MultilineOption);
    return pattern.match(output).captured(1);
}

// The descriptors of the first playback-control file (PSD.VCD or PSD.SVD);
// the extended one repeats them.
QStringList descriptorLines(const QString &output)
{
    QStringList lines;
    bool inside = false;
    for (const QString &line : output.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("----"))) {
            if (inside)
                break;
            continue;
        }
        if (line.contains(QRegularExpression(QStringLiteral("^[A-Z]+/PSD\\.(VCD|SVD)$"))))
            inside = true;
        else if (inside)
            lines.append(line.trimmed());
    }
    return lines;
}

} // namespace

VcdInfo VcdInfo::readImage(const QString &tocPath)
{
    return readFrom(QStringLiteral("--toc-file=") + tocPath);
}

VcdInfo VcdInfo::readCueImage(const QString &cuePath)
{
    return readFrom(QStringLiteral("--cue-file=") + cuePath);
}

VcdInfo VcdInfo::readFrom(const QString &sourceOption)
{
    VcdInfo info;
    const ToolProcess::Result result
        = ToolProcess::run(QStringLiteral("vcd-info"), { sourceOption, QStringLiteral("-p"), QStringLiteral("-I") });
    info.output = result.output;
    info.id = quotedField(result.output, QStringLiteral("ID"));
    info.albumId = quotedField(result.output, QStringLiteral("album id"));
    info.read = result.succeeded() && !info.id.isEmpty();
    const QStringList lines = descriptorLines(result.output);
    info.descriptors = lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).endsWith(QLatin1String("end list descriptor")))
            ++info.endLists;
        if (lines.at(i).endsWith(QLatin1String("): selection list descriptor")))
            ++info.selectionLists;
        if (!lines.at(i).endsWith(QLatin1String("): play list descriptor")))
            continue;
        ++info.playLists;
        // "NOI: 1 | LID#: 2", then "prev: disabled | next: ..."
        if (lines.value(i + 2).startsWith(QLatin1String("prev: disabled")))
            ++info.chainStarts;
    }
    return info;
}
