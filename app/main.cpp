#include "app/KestrinApp.h"
#include "app/MyController.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    // Qt's FFmpeg media backend plays what Kestrin converts without extra
    // GStreamer plugins.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));

    KestrinApp kestrin;
    QObject::connect(kestrin.controller.get(), &MyController::quitRequested, &app, &QApplication::quit,
        Qt::QueuedConnection);
    QTimer::singleShot(0, kestrin.controller.get(), &MyController::applicationDidFinishLaunching);
    return app.exec();
}
