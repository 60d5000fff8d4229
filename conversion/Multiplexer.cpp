#include "conversion/Multiplexer.h"

#include "conversion/AudioPreparation.h"
#include "platform/PrivateTempDir.h"
#include "platform/ToolProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kStandardVCDRate = 1152;
constexpr int kStandardSVCDRate = 2500;

QString tr(const char *text)
{
    return QCoreApplication::translate("Multiplexer", text);
}

QString link(const char *name)
{
    return PrivateTempDir::filePath(QString::fromLatin1(name));
}

bool createEmpty(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

} // namespace

int Multiplexer::formatCode(bool formatVCD, bool generic, int bitRate)
{
    if (formatVCD)
        return generic ? 0 : bitRate == kStandardVCDRate ? 1 : 2;
    return generic ? 3 : bitRate == kStandardSVCDRate ? 4 : 5;
}

QStringList Multiplexer::arguments(int formatCode, const QString &output, const QString &video, const QString &audio)
{
    QStringList arguments { QStringLiteral("-v"), QStringLiteral("0"), QStringLiteral("-V"), QStringLiteral("-f"),
        QString::number(formatCode), QStringLiteral("-S"), QStringLiteral("9999"), QStringLiteral("-M"),
        QStringLiteral("-O"), QStringLiteral("0"), QStringLiteral("-b"), QStringLiteral("92"), QStringLiteral("-o"),
        output, video };
    if (!audio.isEmpty())
        arguments << audio;
    return arguments;
}

void Multiplexer::removeIntermediates(const MovieFiles &files)
{
    QFile::remove(files.video);
    QFile::remove(files.mp2);
    QFile::remove(files.wav);
}

void Multiplexer::removeLinks()
{
    for (const char *name : { kVideoLink, kAudioLink, kOutputLink })
        QFile::remove(link(name));
}

StepResult Multiplexer::combine(const MovieFiles &files, int formatCode, const std::atomic_bool *stop)
{
    if (stop && stop->load()) {
        removeIntermediates(files);
        QFile::remove(files.mpg);
        return StepResult::stopped();
    }
    const bool withAudio = QFileInfo::exists(files.mp2);
    const QString video = PrivateTempDir::makeLink(QString::fromLatin1(kVideoLink), files.video);
    const QString audio = PrivateTempDir::makeLink(QString::fromLatin1(kAudioLink), files.mp2);
    const QString output = PrivateTempDir::makeLink(QString::fromLatin1(kOutputLink), files.mpg);
    ToolProcess::Result result;
    if (!createEmpty(files.mpg))
        result.error = tr("%1 could not be written.").arg(files.mpg);
    else if (video.isEmpty() || audio.isEmpty() || output.isEmpty())
        result.error = tr("The links for mplex could not be made in %1.").arg(PrivateTempDir::path());
    else
        result = ToolProcess::run(
            QStringLiteral("mplex"), arguments(formatCode, output, video, withAudio ? audio : QString()), {}, stop);
    removeIntermediates(files);
    removeLinks();
    if (result.stopped || (stop && stop->load())) {
        QFile::remove(files.mpg);
        return StepResult::stopped();
    }
    if (!result.succeeded() || QFileInfo(files.mpg).size() == 0) {
        QFile::remove(files.mpg);
        if (!result.started)
            return StepResult::failure(result.error);
        return StepResult::failure(tr("mplex could not make %1.").arg(QFileInfo(files.mpg).fileName()),
            result.lastLines(AudioPreparation::kReportedLines));
    }
    return StepResult::done();
}
