#include "settings/ProjectFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool ProjectFolder::isProjectFolder(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(QString::fromLatin1(kTreeFileName))).isFile();
}

namespace {

QString canonical(const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : real;
}

bool contains(const QString &folder, const QString &path)
{
    return path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

bool removeEntry(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        return QFile::remove(path);
    // QDir::removeRecursively deletes links to folders without entering them.
    return QDir(path).removeRecursively();
}

} // namespace

QString ProjectFolder::whyNotReplaceable(const QString &path, const QString &currentProject)
{
    const QString target = canonical(path);
    const QString home = canonical(QDir::homePath());
    auto tr = [](const char *text) { return QCoreApplication::translate("ProjectFolder", text); };
    if (target == QLatin1String("/") || contains(target, home))
        return tr("“%1” holds your home folder and cannot be replaced by a project.").arg(path);
    if (!currentProject.isEmpty() && contains(target, canonical(currentProject)))
        return tr("“%1” holds the open project and cannot be replaced by a new one.").arg(path);
    return {};
}

bool ProjectFolder::replaceWithEmptyFolder(const QString &path)
{
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !removeEntry(path))
        return false;
    return QDir().mkpath(path);
}

void ProjectFolder::takeLock(const QString &folder)
{
    releaseLock();
    auto file = std::make_unique<QFile>(QDir(folder).filePath(QString::fromLatin1(kLockFileName)));
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QFile::remove(file->fileName());
    mLockFile = std::move(file);
}

void ProjectFolder::releaseLock()
{
    mLockFile.reset();
}
