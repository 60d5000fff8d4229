#pragma once

#include <QString>
#include <QStringList>

// The mpeg2enc command line for a disc format, bit rate and quality (the
// quality slider's 0-100): an argument vector, run without a shell.
class EncoderCommand {
public:
    static QString program();

    // Motion-search effort: finer searches (and high frequencies kept) at
    // higher quality.
    static QStringList motionSearchOptions(int quality);
    // Motion-search radius, used for SVCD only.
    static QStringList searchRadiusOptions(int quality);

    // mpeg2enc's profile: standard VCD (1) only at the standard bit rates
    // 1150 and 1152, standard SVCD (4) only at 2500; user VCD (2) or user
    // SVCD (5) otherwise.
    static int formatCode(bool formatVCD, int bitRate);

    // Interlaced coding is for SVCD only; a VCD stream is always progressive.
    static QStringList arguments(bool formatVCD, int bitRate, int quality, bool interlaced, const QString& output);
};
