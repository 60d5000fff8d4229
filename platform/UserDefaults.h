#pragma once

#include <QString>
#include <QVariant>

// The per-user defaults database: Kestrin's application preferences and the
// burn setup's remembered choices, kept as an XML property list in the user's
// configuration folder ($XDG_CONFIG_HOME/Kestrin/Kestrin.plist) so integers,
// reals and strings keep their types. Every write reaches the disk at once.
class UserDefaults
{
public:
    // An absent key reads as an invalid QVariant.
    static QVariant value(const QString &key);
    static bool contains(const QString &key);
    static void setValue(const QString &key, const QVariant &value);
    // Several values written together, then one write to disk.
    static void setValues(const QList<QPair<QString, QVariant>> &values);
    static QString filePath();
};
