#pragma once

#include <QByteArray>
#include <QString>

// Which mounted file system holds a file, from the kernel's mount table.
class MountPoints
{
public:
    // The mount point that holds `path`: the longest mount point in
    // `mountTable` (the text of /proc/self/mounts) that is `path` or one of
    // its parent folders. "/" when nothing longer matches.
    static QString mountPointFor(const QString &path, const QByteArray &mountTable);
    // The same against this machine's table.
    static QString mountPointFor(const QString &path);
};
