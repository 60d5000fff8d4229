#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    return 0;
}
