#include "app/KestrinApp.h"
#include "app/MyController.h"
#include "platform/PrivateTempDir.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLoggingCategory>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Qt's FFmpeg media backend plays what Kestrin converts without extra
    // GStreamer plugins.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    // That backend lists codecs and hardware decoders on every start as
    // uncategorised debug output; Kestrin's own reports are warnings.
    // QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Makes Video CDs and Super Video CDs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("[PROJECT_FOLDER]"),
        QApplication::translate("main", "A project folder to open instead of asking for one."));
    parser.process(app);

    // Told to stop from outside (a session that ends, Ctrl-C in a terminal):
    // from now on the program quits as the Quit command does.
    TerminationSignals stopSignals;

    // Made now, so that a failure shows at once rather than in the middle of
    // a conversion; it goes, with everything in it, when main() returns.
    if (PrivateTempDir::path().isEmpty())
        qWarning("main: no temporary folder could be made; conversions and image builds will fail");

    KestrinApp kestrin;
    MyController *controller = kestrin.controller.get();
    // exit(), not quit(): quit() first asks every window to close, and the
    // main window answers a close by asking to quit, which would go round
    // for ever.
    QObject::connect(
        controller, &MyController::quitRequested, &app, [] { QApplication::exit(0); }, Qt::QueuedConnection);
    QObject::connect(&stopSignals, &TerminationSignals::received, controller, &MyController::menuQuit);
    const QString projectFolder = parser.positionalArguments().value(0);
    QTimer::singleShot(
        0, controller, [controller, projectFolder] { controller->applicationDidFinishLaunching(projectFolder); });
    return app.exec();
}
