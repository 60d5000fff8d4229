#include "movtoy4m/EncoderCommand.h"

namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

QString EncoderCommand::program()
{
    return QStringLiteral("mpeg2enc");
}

QStringList EncoderCommand::motionSearchOptions(int quality)
{
    if (quality >= 76)
        return words("-H -4 1 -2 1");
    if (quality >= 51)
        return words("-H -4 2 -2 2");
    if (quality >= 26)
        return words("-4 3 -2 3");
    return words("-4 4 -2 4");
}

QStringList EncoderCommand::searchRadiusOptions(int quality)
{
    struct Step {
        int lowestQuality;
        int radius;
    };
    static constexpr Step steps[] = { { 91, 32 }, { 81, 30 }, { 71, 28 }, { 61, 26 }, { 51, 24 }, { 41, 22 },
        { 31, 20 }, { 21, 18 }, { 11, 16 } };
    int radius = 14;
    for (const Step& step : steps) {
        if (quality >= step.lowestQuality) {
            radius = step.radius;
            break;
        }
    }
    return { QStringLiteral("-r"), QString::number(radius) };
}

int EncoderCommand::formatCode(bool formatVCD, int bitRate)
{
    if (formatVCD)
        return bitRate == 1152 || bitRate == 1150 ? 1 : 2;
    return bitRate == 2500 ? 4 : 5;
}

QStringList EncoderCommand::arguments(bool formatVCD, int bitRate, int quality, bool interlaced, const QString& output)
{
    QStringList arguments = motionSearchOptions(quality);
    if (!formatVCD)
        arguments += searchRadiusOptions(quality);
    arguments << QStringLiteral("-v") << QStringLiteral("0") << QStringLiteral("-f")
              << QString::number(formatCode(formatVCD, bitRate)) << QStringLiteral("-a") << QStringLiteral("2")
              << QStringLiteral("-b") << QString::number(bitRate);
    if (!formatVCD)
        arguments << QStringLiteral("-q") << QStringLiteral("6");
    // MPEG-1 has no interlaced coding: mpeg2enc refuses -I 1 for VCD.
    arguments << QStringLiteral("-I") << QString::number(interlaced && !formatVCD ? 1 : 0) << QStringLiteral("-M")
              << QStringLiteral("4") << QStringLiteral("-V")
              << (formatVCD ? QStringLiteral("92") : QStringLiteral("230")) << QStringLiteral("-S")
              << QStringLiteral("9999") << QStringLiteral("-o") << output;
    return arguments;
}
