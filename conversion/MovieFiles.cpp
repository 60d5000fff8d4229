#include "conversion/MovieFiles.h"

#include "movtoy4m/VideoConversion.h"

#include <QDir>
#include <QFileInfo>

QString MovieFiles::baseName(const QString &moviePath)
{
    return QFileInfo(moviePath).completeBaseName();
}

QString MovieFiles::mpgPath(const QString &moviePath, const QString &projectFolder)
{
    return QDir(projectFolder).filePath(baseName(moviePath) + QStringLiteral(".mpg"));
}

MovieFiles MovieFiles::forMovie(const QString &moviePath, const QString &projectFolder, bool formatVCD)
{
    const QDir folder(projectFolder);
    const QString base = baseName(moviePath);
    return {
        folder.filePath(base + QStringLiteral(".wav")),
        folder.filePath(base + QStringLiteral(".mp2")),
        VideoConversion::streamPath(moviePath, projectFolder, formatVCD),
        mpgPath(moviePath, projectFolder),
    };
}

bool MovieFiles::isMPEGFile(const QString &moviePath)
{
    const QString upper = moviePath.toUpper();
    return upper.endsWith(QStringLiteral(".MPG")) || upper.endsWith(QStringLiteral(".MPEG"));
}
