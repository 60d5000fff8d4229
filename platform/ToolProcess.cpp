#include "platform/ToolProcess.h"

#include "platform/Resources.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <csignal>
#include <signal.h>
#include <sys/types.h>

namespace {

constexpr int kPollMs = 50;
constexpr int kGraceMs = 3000;
constexpr qsizetype kKeptOutput = 1 << 20;

} // namespace

QString ToolProcess::Result::lastLines(int count) const
{
    QStringList lines = output.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    if (lines.size() > count)
        lines = lines.mid(lines.size() - count);
    return lines.join(QLatin1Char('\n'));
}

ToolProcess::ToolProcess(const QString &program, const QStringList &arguments)
    : mProgram(program)
    , mArguments(arguments)
    , mProcess(std::make_unique<QProcess>())
    , mStopSignal(SIGTERM)
{ }

ToolProcess::~ToolProcess()
{
    if (mProcess->state() != QProcess::NotRunning) {
        stop();
    }
}

void ToolProcess::setWorkingDirectory(const QString &folder)
{
    mProcess->setWorkingDirectory(folder);
}
void ToolProcess::setStopFlag(const std::atomic_bool *stop)
{
    mStop = stop;
}
void ToolProcess::setStopSignal(int signal)
{
    mStopSignal = signal;
}
void ToolProcess::setSeparateErrorChannel(bool separate)
{
    mSeparateErrors = separate;
}

bool ToolProcess::start()
{
    mProgramPath = Resources::findProgram(mProgram);
    if (mProgramPath.isEmpty()) {
        mStartError = Resources::missingProgramMessage(mProgram);
        return false;
    }
    mProcess->setProcessChannelMode(mSeparateErrors ? QProcess::SeparateChannels : QProcess::MergedChannels);
    mProcess->start(mProgramPath, mArguments);
    if (!mProcess->waitForStarted()) {
        mStartError = QCoreApplication::translate("ToolProcess", "%1 could not be started: %2")
                          .arg(mProgram, mProcess->errorString());
        return false;
    }
    return true;
}

qint64 ToolProcess::processId() const
{
    return mProcess->processId();
}

QString ToolProcess::commandLine() const
{
    QStringList words { mProgramPath.isEmpty() ? mProgram : mProgramPath };
    words += mArguments;
    return words.join(QLatin1Char(' '));
}

void ToolProcess::keepOutput(const QByteArray &bytes)
{
    mOutput += bytes;
    if (mOutput.size() > kKeptOutput)
        mOutput.remove(0, mOutput.size() - kKeptOutput);
}

void ToolProcess::readAvailable()
{
    const QByteArray bytes = mProcess->readAllStandardOutput();
    mPending += bytes;
    keepOutput(bytes);
    if (mSeparateErrors)
        keepOutput(mProcess->readAllStandardError());
}

bool ToolProcess::takeLine(QString *line, bool includeUnterminated)
{
    qsizetype end = -1;
    for (qsizetype i = 0; i < mPending.size(); ++i) {
        if (mPending.at(i) == '\n' || mPending.at(i) == '\r') {
            end = i;
            break;
        }
    }
    if (end < 0) {
        if (!includeUnterminated || mPending.isEmpty())
            return false;
        end = mPending.size();
    }
    *line = QString::fromLocal8Bit(mPending.left(end));
    // "\r\n" is one line end.
    qsizetype skip = end + 1;
    if (end < mPending.size() && mPending.at(end) == '\r' && skip < mPending.size() && mPending.at(skip) == '\n')
        ++skip;
    mPending.remove(0, std::min(skip, mPending.size()));
    return true;
}

bool ToolProcess::readLine(QString *line, bool includeUnterminated)
{
    for (;;) {
        if (takeLine(line, false))
            return true;
        if (stopRequested() && !mStopped)
            stop();
        if (mProcess->state() == QProcess::NotRunning) {
            readAvailable();
            if (takeLine(line, false))
                return true;
            const bool hasRest = !mPending.isEmpty();
            if (hasRest && includeUnterminated)
                return takeLine(line, true);
            mPending.clear();
            return false;
        }
        mProcess->waitForReadyRead(kPollMs);
        readAvailable();
    }
}

bool ToolProcess::write(const QByteArray &bytes)
{
    qint64 offset = 0;
    while (offset < bytes.size()) {
        if (stopRequested() || mProcess->state() != QProcess::Running)
            return false;
        const qint64 written = mProcess->write(bytes.constData() + offset, bytes.size() - offset);
        if (written < 0)
            return false;
        offset += written;
        // Keep the pipe's buffer small: wait until the child has taken it.
        while (mProcess->bytesToWrite() > 0) {
            if (stopRequested() || mProcess->state() != QProcess::Running)
                return false;
            mProcess->waitForBytesWritten(kPollMs);
            readAvailable();
        }
    }
    return true;
}

void ToolProcess::closeWriteChannel()
{
    mProcess->closeWriteChannel();
}

ToolProcess::Result ToolProcess::finish()
{
    Result result;
    result.started = mStartError.isEmpty() && !mProgramPath.isEmpty();
    result.error = mStartError;
    if (result.started) {
        while (mProcess->state() != QProcess::NotRunning) {
            if (stopRequested() && !mStopped)
                stop();
            mProcess->waitForFinished(kPollMs);
            readAvailable();
        }
        readAvailable();
        result.crashed = mProcess->exitStatus() == QProcess::CrashExit;
        result.exitCode = mProcess->exitCode();
    }
    result.stopped = mStopped;
    result.output = QString::fromLocal8Bit(mOutput);
    return result;
}

void ToolProcess::stop()
{
    mStopped = true;
    if (mProcess->state() == QProcess::NotRunning)
        return;
    const qint64 pid = mProcess->processId();
    if (pid > 0 && mStopSignal != SIGTERM)
        ::kill(pid_t(pid), mStopSignal);
    else
        mProcess->terminate();
    if (mProcess->waitForFinished(kGraceMs))
        return;
    mProcess->terminate();
    if (!mProcess->waitForFinished(kGraceMs)) {
        mProcess->kill();
        mProcess->waitForFinished(kGraceMs);
    }
}

ToolProcess::Result ToolProcess::run(const QString &program, const QStringList &arguments,
    const std::function<void(const QString &line)> &onLine, const std::atomic_bool *stop,
    const QString &workingDirectory)
{
    ToolProcess process(program, arguments);
    process.setStopFlag(stop);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    if (process.start()) {
        process.closeWriteChannel();
        QString line;
        while (process.readLine(&line))
            if (onLine)
                onLine(line);
    }
    return process.finish();
}
