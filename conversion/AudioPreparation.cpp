#include "conversion/AudioPreparation.h"

#include "conversion/BbdmuxProgress.h"
#include "platform/Movie.h"
#include "platform/ToolProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// bbdmux's exit status when the input holds no stream of that id.
constexpr int kBbdmuxNoStream = 3;

QString tr(const char *text)
{
    return QCoreApplication::translate("AudioPreparation", text);
}

bool hasContent(const QString &path)
{
    return QFileInfo(path).size() > 0;
}

// Steps may be run without anyone following them.
bool report(const AudioPreparation::Progress &progress, int percent)
{
    return progress && progress(percent);
}

StepResult programFailure(const QString &error, const ToolProcess::Result &result)
{
    if (!result.started)
        return StepResult::failure(result.error);
    return StepResult::failure(error, result.lastLines(AudioPreparation::kReportedLines));
}

} // namespace

int AudioPreparation::sharePercent(quint64 done, quint64 hundredth)
{
    if (hundredth == 0)
        return 0;
    const quint64 percent = done / hundredth;
    return percent > 100 ? 100 : int(percent);
}

QStringList AudioPreparation::encoderArguments(const QString &mp2Path)
{
    return { QStringLiteral("-V"), QStringLiteral("-o"), mp2Path, QStringLiteral("-v"), QStringLiteral("0") };
}

StepResult AudioPreparation::extractAudio(const QString &moviePath, const MovieFiles &files, const Progress &progress)
{
    QString error;
    const std::unique_ptr<Movie> movie = Movie::open(moviePath, &error);
    if (!movie)
        return StepResult::failure(error);
    if (!movie->hasSound())
        return StepResult::noSound();
    switch (movie->exportSound(
        files.wav, [&](int percent) { return report(progress, percent); }, &error)) {
    case Movie::ExportResult::Done:
        return hasContent(files.wav) ? StepResult::done() : StepResult::noSound();
    case Movie::ExportResult::Aborted:
        return StepResult::stopped();
    case Movie::ExportResult::NoSound:
        return StepResult::noSound();
    case Movie::ExportResult::Failed:
        break;
    }
    QFile::remove(files.wav);
    return StepResult::failure(tr("The sound could not be exported: %1").arg(error));
}

StepResult AudioPreparation::extractMPEGAudio(
    const QString &moviePath, const MovieFiles &files, const Progress &progress)
{
    ToolProcess bbdmux(QStringLiteral("bbdmux"), { moviePath, QStringLiteral("0xc0"), files.mp2 });
    bool stopped = false;
    if (bbdmux.start()) {
        bbdmux.closeWriteChannel();
        BbdmuxProgress share(quint64(QFileInfo(moviePath).size()));
        QString line;
        while (!stopped && bbdmux.readLine(&line))
            stopped = report(progress, share.addLine(line));
        if (stopped)
            bbdmux.stop();
    }
    const ToolProcess::Result result = bbdmux.finish();
    if (stopped)
        return StepResult::stopped();
    if (result.started && !result.crashed && result.exitCode == kBbdmuxNoStream)
        return StepResult::noSound();
    if (!result.succeeded()) {
        QFile::remove(files.mp2);
        return programFailure(tr("bbdmux could not copy the MPEG audio."), result);
    }
    if (!hasContent(files.mp2)) {
        QFile::remove(files.mp2);
        return StepResult::noSound();
    }
    return StepResult::done();
}

StepResult AudioPreparation::convertAudio(const MovieFiles &files, const Progress &progress)
{
    QFile wav(files.wav);
    if (!wav.exists())
        return StepResult::noSound();
    if (!wav.open(QIODevice::ReadOnly)) {
        const QString error = wav.errorString();
        QFile::remove(files.wav);
        return StepResult::failure(tr("The exported sound could not be read: %1").arg(error));
    }
    ToolProcess encoder(QStringLiteral("mp2enc"), encoderArguments(files.mp2));
    const FeedResult feed = encoder.start() ? feedEncoder(wav, encoder, progress) : FeedResult::EncoderGone;
    encoder.closeWriteChannel();
    const ToolProcess::Result result = encoder.finish();
    const QString readError = wav.errorString();
    wav.close();
    QFile::remove(files.wav);
    if (feed == FeedResult::Stopped)
        return StepResult::stopped();
    if (!result.succeeded() || !hasContent(files.mp2)) {
        QFile::remove(files.mp2);
        return programFailure(tr("mp2enc could not encode the sound."), result);
    }
    if (feed == FeedResult::ReadFailed) {
        QFile::remove(files.mp2);
        return StepResult::failure(tr("The exported sound could not be read: %1").arg(readError));
    }
    return StepResult::done();
}

AudioPreparation::FeedResult AudioPreparation::feedEncoder(QFile &wav, ToolProcess &encoder, const Progress &progress)
{
    // Progress is the share of the file's bytes handed over, counted in
    // hundredths of its size.
    const quint64 hundredth = quint64(wav.size()) / 100;
    quint64 written = 0;
    for (;;) {
        const QByteArray block = wav.read(kBlockSize);
        if (block.isEmpty())
            return wav.error() == QFileDevice::NoError ? FeedResult::Fed : FeedResult::ReadFailed;
        if (!encoder.write(block))
            return FeedResult::EncoderGone;
        written += quint64(block.size());
        if (report(progress, sharePercent(written, hundredth)))
            return FeedResult::Stopped;
    }
}
