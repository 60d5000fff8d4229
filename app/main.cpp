#include "app/MainWindow.h"
#include "app/MyController.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

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

    SettingsModel settings;
    Preferences preferences(&settings);
    MediaTree mediaTree(&settings);
    MainWindow window(&settings);
    MyController controller(&window, &settings, &preferences, &mediaTree);
    QObject::connect(&controller, &MyController::quitRequested, &app, &QApplication::quit, Qt::QueuedConnection);

    controller.awakeFromNib();
    QTimer::singleShot(0, &controller, &MyController::applicationDidFinishLaunching);
    return app.exec();
}
