#pragma once

#include "conversion/MovieFiles.h"
#include "conversion/StepResult.h"

#include <QString>
#include <QStringList>

#include <functional>

class QFile;
class ToolProcess;

// The audio steps of one movie's conversion, on the audio worker: the sound
// becomes base.mp2, MPEG-1 Layer II at 44100 Hz stereo 224 kbit/s, either
// exported to base.wav through the movie service and encoded by mp2enc, or
// copied out of an MPEG program stream by bbdmux.
class AudioPreparation
{
public:
    // The progress-and-cancel convention of the conversion: called with the
    // percentage done, it answers true when Stop was pressed.
    using Progress = std::function<bool(int percent)>;

    // How many of a failing program's last lines the user is shown.
    static constexpr int kReportedLines = 8;
    // Bytes of WAV handed to the encoder at a time.
    static constexpr qint64 kBlockSize = 64 * 1024;

    // The sound track to base.wav; NoSound when the movie has none.
    static StepResult extractAudio(const QString &moviePath, const MovieFiles &files, const Progress &progress);
    // The first MPEG audio stream (0xc0) of an MPEG file copied to base.mp2
    // by bbdmux; NoSound when there is none.
    static StepResult extractMPEGAudio(const QString &moviePath, const MovieFiles &files, const Progress &progress);
    // base.wav through mp2enc to base.mp2; base.wav is removed whatever
    // happens. NoSound when there is no base.wav. Stop closes the pipe, and
    // the encoder finishes with what it has read.
    static StepResult convertAudio(const MovieFiles &files, const Progress &progress);

    static QStringList encoderArguments(const QString &mp2Path);

    // `done` in whole percent of the total whose hundredth part is
    // `hundredth`, without floating point: 0 while the hundredth is 0, never
    // above 100.
    static int sharePercent(quint64 done, quint64 hundredth);

private:
    enum class FeedResult { Fed, Stopped, EncoderGone, ReadFailed };
    static FeedResult feedEncoder(QFile &wav, ToolProcess &encoder, const Progress &progress);
};
