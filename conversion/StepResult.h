#pragma once

#include <QString>

// How one step of a movie's conversion (an audio step or the multiplexing)
// ended.
struct StepResult
{
    enum class Status {
        Done, // the step's output is there and its program said so
        NoSound, // the movie has no sound to prepare: it becomes a video-only stream
        Stopped, // Stop ended it early
        Failed, // `error` says why, `output` holds the program's last lines
    };

    Status status = Status::Failed;
    QString error;
    QString output;

    bool failed() const { return status == Status::Failed; }

    static StepResult done() { return { Status::Done, {}, {} }; }
    static StepResult noSound() { return { Status::NoSound, {}, {} }; }
    static StepResult stopped() { return { Status::Stopped, {}, {} }; }
    static StepResult failure(const QString &error, const QString &output = {})
    {
        return { Status::Failed, error, output };
    }
};
