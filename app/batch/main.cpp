#include "app/batch/KestrinBatch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <csignal>

namespace {

std::atomic_bool gInterrupted = false;

void interrupted(int)
{
    gInterrupted = true;
    // A second Ctrl-C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("main",
        "Converts a Kestrin project's movies and builds its disc image, as the Convert and Build Image "
        "commands do, and burns it as Burn does. With neither --convert nor --image it does both."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption convert(
        QStringLiteral("convert"), QCoreApplication::translate("main", "Convert the movies that need converting."));
    const QCommandLineOption image(
        QStringLiteral("image"), QCoreApplication::translate("main", "Build the disc image."));
    const QCommandLineOption burn(QStringLiteral("burn"),
        QCoreApplication::translate("main",
            "After the image, burn it with RECORDER: a recorder's device node (/dev/sr0), or image:FILE for a BIN "
            "file FILE and its CUE sheet."),
        QStringLiteral("RECORDER"));
    parser.addOptions({ convert, image, burn });
    parser.addPositionalArgument(
        QStringLiteral("PROJECT_FOLDER"), QCoreApplication::translate("main", "The project folder."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return KestrinBatch::UsageError;
    }
    const bool both = !parser.isSet(convert) && !parser.isSet(image);

    KestrinBatch batch;
    std::signal(SIGINT, interrupted);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&batch] {
        if (gInterrupted && !batch.stopRequested()) {
            batch.print(QCoreApplication::translate("main", "stopping..."));
            batch.stop();
        }
    });
    interruptWatch.start(100);

    if (!batch.openProject(parser.positionalArguments().first()))
        return KestrinBatch::UsageError;
    bool succeeded = true;
    if ((both || parser.isSet(convert)) && !gInterrupted)
        succeeded = batch.convert();
    if (succeeded && (both || parser.isSet(image)) && !gInterrupted)
        succeeded = batch.buildImage();
    if (succeeded && parser.isSet(burn) && !gInterrupted)
        succeeded = batch.burn(parser.value(burn));
    if (gInterrupted || batch.stopRequested())
        return KestrinBatch::Stopped;
    return succeeded ? KestrinBatch::Succeeded : KestrinBatch::StepFailed;
}
