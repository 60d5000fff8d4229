#include "platform/UserDefaults.h"

#include "platform/PropertyList.h"

#include <QIODevice>
#include <QMutex>
#include <QSettings>

namespace {

bool readPropertyList(QIODevice &device, QSettings::SettingsMap &map)
{
    const PropertyList::ReadResult read = PropertyList::parse(device.readAll());
    if (!read.ok() || read.value.typeId() != QMetaType::QVariantMap) {
        qWarning("UserDefaults: unreadable preferences file: %s", qPrintable(read.error));
        return false;
    }
    const QVariantMap values = read.value.toMap();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        map.insert(it.key(), it.value());
    return true;
}

bool writePropertyList(QIODevice &device, const QSettings::SettingsMap &map)
{
    QVariantMap values;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        values.insert(it.key(), it.value());
    const QByteArray xml = PropertyList::toXml(values);
    return !xml.isEmpty() && device.write(xml) == xml.size();
}

QMutex gLock;

QSettings &store()
{
    static const QSettings::Format format
        = QSettings::registerFormat(QStringLiteral("plist"), readPropertyList, writePropertyList);
    static QSettings settings(format, QSettings::UserScope, QStringLiteral("Kestrin"), QStringLiteral("Kestrin"));
    return settings;
}

} // namespace

QVariant UserDefaults::value(const QString &key)
{
    QMutexLocker lock(&gLock);
    return store().value(key);
}

bool UserDefaults::contains(const QString &key)
{
    QMutexLocker lock(&gLock);
    return store().contains(key);
}

void UserDefaults::setValue(const QString &key, const QVariant &value)
{
    setValues({ { key, value } });
}

void UserDefaults::setValues(const QList<QPair<QString, QVariant>> &values)
{
    QMutexLocker lock(&gLock);
    for (const auto &[key, value] : values)
        store().setValue(key, value);
    store().sync();
}

QString UserDefaults::filePath()
{
    QMutexLocker lock(&gLock);
    return store().fileName();
}
