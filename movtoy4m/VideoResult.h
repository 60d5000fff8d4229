#pragma once

#include <QString>

// How one movie's video conversion ended.
struct VideoResult {
    enum class Status {
        Done, // the elementary stream is complete and the encoder said so
        Stopped, // Stop ended it early; the stream holds what was written
        NoVisualTrack, // the movie has no picture: no stream is made
        Failed, // no usable stream; `error` says why
    };

    Status status = Status::Failed;
    QString error;

    bool succeeded() const { return status == Status::Done; }

    static VideoResult done() { return { Status::Done, {} }; }
    static VideoResult failed(const QString& error) { return { Status::Failed, error }; }
};
