#pragma once

#include "conversion/MovieFiles.h"
#include "conversion/StepResult.h"

#include <QString>
#include <QStringList>

#include <atomic>

// Joins a movie's video stream and its MP2 audio into the disc's program
// stream base.mpg with mplex, then removes the intermediate files. mplex sees
// only fixed link names in Kestrin's private temporary folder, never a
// project path. One multiplexing runs at a time.
class Multiplexer
{
public:
    static constexpr const char *kVideoLink = "KestrinMPGVideoPath";
    static constexpr const char *kAudioLink = "KestrinMPGAudioPath";
    static constexpr const char *kOutputLink = "KestrinMPGPath";

    // mplex's -f: 0 VCD, 1 VCD at the standard 1152 kbit/s, 2 VCD at other
    // rates; 3, 4 (2500 kbit/s) and 5 likewise for SVCD. Generic streams
    // (0, 3) ignore the rate.
    static int formatCode(bool formatVCD, bool generic, int bitRate);

    // mplex's arguments; without `audio` a video-only stream.
    static QStringList arguments(
        int formatCode, const QString &output, const QString &video, const QString &audio = {});

    // Makes base.mpg from the video stream and, when there is one, base.mp2.
    // Afterwards no intermediate file is left. A failed or stopped
    // multiplexing leaves no base.mpg either.
    static StepResult combine(const MovieFiles &files, int formatCode, const std::atomic_bool *stop);

    // Removes base.wav, base.mp2 and the video stream, those that exist.
    static void removeIntermediates(const MovieFiles &files);

private:
    static void removeLinks();
};
