#include "media/UnreadFile.h"

#include "media/TreeFile.h"

#include <QFileInfo>

void UnreadFile::remember(const QString& path)
{
    mPath = QFileInfo(path).absoluteFilePath();
}

bool UnreadFile::keepAsideBefore(const QString& path, const char* operation)
{
    if (mPath.isEmpty() || QFileInfo(path).absoluteFilePath() != mPath)
        return true;
    if (QFileInfo::exists(path)) {
        const QString copy = TreeFile::keepAside(path);
        if (copy.isEmpty()) {
            qWarning(
                "%s: %s: could not keep the unread file aside, so it is left as it is", operation, qPrintable(path));
            return false;
        }
        qWarning(
            "%s: %s: the file that could not be read is kept as %s", operation, qPrintable(path), qPrintable(copy));
    }
    mPath.clear();
    return true;
}
