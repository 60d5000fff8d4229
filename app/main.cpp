#include "app/MainWindow.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));

    SettingsModel settings;
    Preferences preferences(&settings);
    MainWindow window(&settings);
    preferences.projectSettingsShow();
    window.show();
    return app.exec();
}
