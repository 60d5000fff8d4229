#pragma once

#include "movtoy4m/VideoResult.h"
#include "movtoy4m/VideoSettings.h"

#include <QString>

#include <atomic>
#include <functional>

// One movie's video step of the conversion: from the movie file to its
// elementary stream base.m1v (VCD) or base.m2v (SVCD) in the project folder.
// Runs on the video worker.
class VideoConversion {
public:
    struct Hooks {
        // Called before the movie is touched; returns once the audio worker
        // is no longer exporting the same movie.
        std::function<void()> waitForAudio;
        std::function<void(double percent)> progress;
        const std::atomic_bool* stop = nullptr;
    };

    static VideoResult convertVideo(
        const QString& moviePath, const QString& projectFolder, const VideoSettings& settings, const Hooks& hooks);

    // Where the elementary stream of `moviePath` goes.
    static QString streamPath(const QString& moviePath, const QString& projectFolder, bool formatVCD);
};
