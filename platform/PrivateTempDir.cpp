#include "platform/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

QString PrivateTempDir::path()
{
    // QTemporaryDir makes the folder with mode 0700 under a random name.
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestrin-XXXXXX"));
    return folder.isValid() ? folder.path() : QString();
}

QString PrivateTempDir::filePath(const QString &name)
{
    const QString folder = path();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

QString PrivateTempDir::makeLink(const QString &linkName, const QString &target)
{
    const QString link = filePath(linkName);
    if (link.isEmpty())
        return {};
    QFile::remove(link);
    return QFile::link(target, link) ? link : QString();
}
