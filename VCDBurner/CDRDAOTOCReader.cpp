#include "VCDBurner/CDRDAOTOCReader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <exception>

namespace {

using Failure = CDRDAOTOCReader::Failure;

// Thrown by the line readers below and caught in readText(): a refused line
// ends the whole parse.
struct TOCError
{
    Failure failure;
    QString reason;
};

TOCError invalid(const QString &what)
{
    return { Failure::InvalidArgument, QStringLiteral("Invalid CDRDAO TOC file, ") + what };
}

struct ParseState
{
    QList<QStringList> trackList;
    int trackCounter = 0;
    bool sawXA = false;
};

void beginTrack(ParseState &state)
{
    if (!state.sawXA)
        throw invalid(QStringLiteral("missing CD_ROM_XA"));
    if (state.trackCounter == CDRDAOTOCReader::kMaximumTracks)
        throw invalid(QStringLiteral("more than 99 tracks"));
    ++state.trackCounter;
}

// The name runs from the first double quote to the last, so a quote in a
// comment after the name is taken into it, as in any line of the TOC.
QString quotedPath(const QString &line)
{
    const qsizetype first = line.indexOf(QLatin1Char('"'));
    const qsizetype last = line.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || first == last)
        throw invalid(QStringLiteral("no quoted file name: %1").arg(line));
    return line.mid(first + 1, last - first - 1);
}

void checkDataFile(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        throw TOCError { Failure::ObjectNotAvailable,
            QStringLiteral("Invalid CDRDAO TOC file, referenced file \"%1\" does not exist").arg(path) };
    const qint64 size = file.size();
    if (size <= 0 || size % CDRDAOTOCReader::kBlockSize != 0)
        throw invalid(QStringLiteral("referenced file \"%1\" is %2 bytes, not a multiple of 2352").arg(path).arg(size));
}

void addDataFile(const QString &line, ParseState &state)
{
    if (state.trackCounter == 0)
        throw invalid(QStringLiteral("%1 encountered before TRACK.").arg(line));
    const QString path = quotedPath(line);
    checkDataFile(path);
    while (state.trackList.size() < state.trackCounter)
        state.trackList.append(QStringList());
    state.trackList[state.trackCounter - 1].append(path);
}

// Tests run in order; all are prefix tests, so "COPYING" reads as COPY.
void readLine(const QString &line, ParseState &state)
{
    if (line.startsWith(QLatin1String("//")) || line.startsWith(QLatin1String("COPY"))
        || line.startsWith(QLatin1String("START")))
        return;
    if (line.startsWith(QLatin1String("CD_ROM_XA"))) {
        state.sawXA = true;
        return;
    }
    if (line.startsWith(QLatin1String("TRACK MODE2_RAW")))
        return beginTrack(state);
    if (line.startsWith(QLatin1String("TRACK")))
        throw invalid(QStringLiteral("unknown track type %1").arg(line));
    if (line.startsWith(QLatin1String("DATAFILE")))
        return addDataFile(line, state);
    throw invalid(QStringLiteral("bad line: %1").arg(line));
}

QString decodedText(const QString &tocPath)
{
    QFile file(tocPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(file.readAll());
    return decode.hasError() ? QString() : text;
}

} // namespace

CDRDAOTOCReader::Result CDRDAOTOCReader::read(const QString &tocPath)
{
    return readText(decodedText(tocPath));
}

CDRDAOTOCReader::Result CDRDAOTOCReader::readText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    ParseState state;
    try {
        for (const QString &rawLine : text.split(lineBreak)) {
            const QString line = rawLine.trimmed();
            if (!line.isEmpty())
                readLine(line, state);
        }
    } catch (const TOCError &error) {
        return { {}, error.failure, error.reason };
    } catch (const std::exception &error) {
        return { {}, Failure::InvalidArgument, QStringLiteral("Invalid CDRDAO TOC file, %1").arg(error.what()) };
    }
    return { state.trackList, Failure::None, {} };
}
