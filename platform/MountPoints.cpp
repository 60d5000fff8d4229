#include "platform/MountPoints.h"

#include <QDir>
#include <QFile>

namespace {

// The mount table writes space, tab, newline and backslash as \040, \011,
// \012 and \134.
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return QString::fromUtf8(out);
}

bool holds(const QString &mountPoint, const QString &path)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

} // namespace

QString MountPoints::mountPointFor(const QString &path, const QByteArray &mountTable)
{
    const QString cleaned = QDir::cleanPath(path);
    QString best = QStringLiteral("/");
    for (const QByteArray &line : mountTable.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2)
            continue;
        const QString mountPoint = QDir::cleanPath(unescapeMountField(fields.at(1)));
        if (holds(mountPoint, cleaned) && mountPoint.size() > best.size())
            best = mountPoint;
    }
    return best;
}

QString MountPoints::mountPointFor(const QString &path)
{
    QFile table(QStringLiteral("/proc/self/mounts"));
    // /proc files report no size: read them whole with readAll.
    if (!table.open(QIODevice::ReadOnly))
        return QStringLiteral("/");
    return mountPointFor(path, table.readAll());
}
