#include "platform/Resources.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

// The compiled-in resources live in a static library: without a reference
// the linker would leave them out of every program.
static void registerCompiledResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

QMutex gFoldersLock;
QStringList gProgramFolders;

QStringList programFolders()
{
    QMutexLocker lock(&gFoldersLock);
    QStringList folders = gProgramFolders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath()
                << QCoreApplication::applicationDirPath() + QStringLiteral("/../libexec/kestrin");
    return folders;
}

} // namespace

void Resources::setProgramFolders(const QStringList &folders)
{
    QMutexLocker lock(&gFoldersLock);
    gProgramFolders = folders;
}

QString Resources::findProgram(const QString &name)
{
    const QString own = QStandardPaths::findExecutable(name, programFolders());
    if (!own.isEmpty())
        return own;
    return QStandardPaths::findExecutable(name);
}

QString Resources::packageForProgram(const QString &name)
{
    static const QHash<QString, QString> packages = {
        { QStringLiteral("mpeg2enc"), QStringLiteral("mjpegtools") },
        { QStringLiteral("mp2enc"), QStringLiteral("mjpegtools") },
        { QStringLiteral("mplex"), QStringLiteral("mjpegtools") },
        { QStringLiteral("vcdxbuild"), QStringLiteral("vcdimager") },
        { QStringLiteral("vcd-info"), QStringLiteral("vcdimager") },
        { QStringLiteral("cdrdao"), QStringLiteral("cdrdao") },
        { QStringLiteral("eject"), QStringLiteral("eject") },
        { QStringLiteral("ffmpeg"), QStringLiteral("ffmpeg") },
    };
    return packages.value(name);
}

QString Resources::missingProgramMessage(const QString &name)
{
    if (!findProgram(name).isEmpty())
        return {};
    const QString package = packageForProgram(name);
    if (package.isEmpty())
        return QCoreApplication::translate("Resources", "%1 was not found; reinstall Kestrin.").arg(name);
    return QCoreApplication::translate("Resources", "%1 is not installed. Install the Debian package %2.")
        .arg(name, package);
}

QString Resources::dataFile(const QString &name)
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrin");
    folders << QStringLiteral(KESTRIN_DATA_INSTALL_DIR);
    for (const QString &folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(path))
            return QFileInfo(path).absoluteFilePath();
    }
    registerCompiledResources();
    const QString resource = QStringLiteral(":/kestrin/") + name;
    return QFileInfo::exists(resource) ? resource : QString();
}
