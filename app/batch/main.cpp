#include "app/batch/KestrinBatch.h"
#include "platform/TerminationSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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
    // Ctrl-C, or the end of a session or a job: the running step stops
    // cleanly, its half-made files and the temporary folder are removed.
    // A second one ends the program at once.
    bool interrupted = false;
    TerminationSignals stopSignals;
    QObject::connect(&stopSignals, &TerminationSignals::received, [&batch, &interrupted] {
        interrupted = true;
        if (!batch.stopRequested()) {
            batch.print(QCoreApplication::translate("main", "stopping..."));
            batch.stop();
        }
    });

    if (!batch.openProject(parser.positionalArguments().first()))
        return KestrinBatch::UsageError;
    bool succeeded = true;
    if ((both || parser.isSet(convert)) && !interrupted)
        succeeded = batch.convert();
    if (succeeded && (both || parser.isSet(image)) && !interrupted)
        succeeded = batch.buildImage();
    if (succeeded && parser.isSet(burn) && !interrupted)
        succeeded = batch.burn(parser.value(burn));
    if (interrupted || batch.stopRequested())
        return KestrinBatch::Stopped;
    return succeeded ? KestrinBatch::Succeeded : KestrinBatch::StepFailed;
}
