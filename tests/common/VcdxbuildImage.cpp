#include "common/VcdxbuildImage.h"

#include "common/Fixtures.h"
#include "platform/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

QByteArray VcdxbuildImage::description(const QStringList &mpegFiles)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n"
                     "<!DOCTYPE videocd PUBLIC \"-//GNU//DTD VideoCD//EN\" "
                     "\"http://www.gnu.org/software/vcdimager/videocd.dtd\">\n"
                     "<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" class=\"vcd\" version=\"2.0\">\n"
                     "  <info><album-id>KESTRIN</album-id><volume-count>1</volume-count>"
                     "<volume-number>1</volume-number><restriction>0</restriction></info>\n"
                     "  <pvd><volume-id>KESTRIN</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id></pvd>\n"
                     "  <sequence-items>\n";
    for (qsizetype i = 0; i < mpegFiles.size(); ++i)
        xml += QStringLiteral("    <sequence-item src=\"%1\" id=\"sequence-%2\"/>\n")
                   .arg(mpegFiles.at(i).toHtmlEscaped())
                   .arg(i)
                   .toUtf8();
    xml += "  </sequence-items>\n</videocd>\n";
    return xml;
}

QString VcdxbuildImage::build(const QString &folder, int sequences)
{
    const QString movie = Fixtures::ntscVcdMpg();
    if (movie.isEmpty())
        return {};
    const QString base = QDir(folder).absoluteFilePath(QStringLiteral("Kestrin"));
    QFile xml(base + QStringLiteral(".xml"));
    if (!xml.open(QIODevice::WriteOnly) || xml.write(description(QStringList(sequences, movie))) < 0)
        return {};
    xml.close();
    const ToolProcess::Result result = ToolProcess::run(QStringLiteral("vcdxbuild"),
        { QStringLiteral("--image-type=cdrdao"), QStringLiteral("--cdrdao-file=") + base, xml.fileName() });
    const QString toc = base + QStringLiteral(".toc");
    if (!result.succeeded() || !QFile::exists(toc)) {
        qWarning("vcdxbuild could not build an image: %s", qPrintable(result.lastLines(10)));
        return {};
    }
    return toc;
}

QStringList VcdxbuildImage::imageFiles(const QString &tocPath)
{
    static const QRegularExpression dataFile(QStringLiteral("DATAFILE \"([^\"]*)\""));
    QFile toc(tocPath);
    if (!toc.open(QIODevice::ReadOnly))
        return {};
    QStringList files;
    auto matches = dataFile.globalMatch(QString::fromUtf8(toc.readAll()));
    while (matches.hasNext())
        files.append(matches.next().captured(1));
    return files;
}
