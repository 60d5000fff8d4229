#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// The one way Kestrin runs an external program: an argument vector and never
// a shell, the program's output (stdout and stderr together) split into lines
// at '\n' and at '\r' (progress lines), the whole output kept for a failure
// message, and stopping as "ask, then terminate, then kill" sent only to the
// child this object started.
//
// Made for worker threads: every call blocks, and the object must be used on
// the thread that made it. Stop is requested by the main thread through an
// atomic flag that the waiting calls poll.
class ToolProcess
{
public:
    struct Result
    {
        bool started = false;
        bool stopped = false; // the stop flag ended it
        bool crashed = false;
        int exitCode = -1;
        QString error; // why it could not start
        QString output; // everything it printed (the last megabyte at most)

        bool succeeded() const { return started && !stopped && !crashed && exitCode == 0; }
        QString lastLines(int count) const;
    };

    ToolProcess(const QString &program, const QStringList &arguments);
    ~ToolProcess();

    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;

    void setWorkingDirectory(const QString &folder);
    // Polled while waiting; when it becomes true the child is stopped.
    void setStopFlag(const std::atomic_bool *stop);
    // Signal used to ask the child to stop before terminating it (SIGTERM by
    // default; cdrdao wants SIGQUIT).
    void setStopSignal(int signal);
    // Separate stdout from stderr: only stdout is read as lines and written
    // to `output`, stderr is kept for the failure message.
    void setSeparateErrorChannel(bool separate);

    // Resolves the program (Resources::findProgram) and starts it.
    bool start();

    // The next line the program printed, without its end of line. Returns
    // false when the program has ended and no line is left. A final line
    // without a line break is returned only when `includeUnterminated`.
    bool readLine(QString *line, bool includeUnterminated = true);

    // Writes all of `bytes` to the program's standard input. False when the
    // program has gone (broken pipe) or the stop flag is set.
    bool write(const QByteArray &bytes);
    void closeWriteChannel();

    // Waits for the end, reading and keeping what the program prints.
    Result finish();

    // Asks the child to stop, then terminates and finally kills it.
    void stop();

    qint64 processId() const;
    QString programPath() const { return mProgramPath; }
    QString commandLine() const;

    // Starts, hands every line to `onLine` and waits for the end.
    static Result run(const QString &program, const QStringList &arguments,
        const std::function<void(const QString &line)> &onLine = {}, const std::atomic_bool *stop = nullptr,
        const QString &workingDirectory = {});

private:
    bool stopRequested() const { return mStop && mStop->load(); }
    void readAvailable();
    bool takeLine(QString *line, bool includeUnterminated);
    void keepOutput(const QByteArray &bytes);

    QString mProgram;
    QString mProgramPath;
    QStringList mArguments;
    std::unique_ptr<QProcess> mProcess;
    const std::atomic_bool *mStop = nullptr;
    int mStopSignal;
    bool mSeparateErrors = false;
    bool mStopped = false;
    QByteArray mPending;
    QByteArray mOutput;
    QString mStartError;
};
