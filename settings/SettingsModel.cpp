#include "settings/SettingsModel.h"

#include <QDir>

SettingsModel::SettingsModel(QObject *parent)
    : QObject(parent)
{ }

QVariant SettingsModel::value(const QString &key) const
{
    QMutexLocker lock(&mLock);
    return mValues.value(key);
}

QVariantMap SettingsModel::values() const
{
    QMutexLocker lock(&mLock);
    return mValues;
}

void SettingsModel::setValue(const QString &key, const QVariant &value)
{
    {
        QMutexLocker lock(&mLock);
        auto it = mValues.find(key);
        if (it != mValues.end() && it.value() == value && it.value().typeId() == value.typeId())
            return;
        mValues.insert(key, value);
    }
    emit valueChanged(key, value);
}

QString SettingsModel::projectFolder() const
{
    QMutexLocker lock(&mLock);
    return mProjectFolder;
}

void SettingsModel::setProjectFolder(const QString &folder)
{
    {
        QMutexLocker lock(&mLock);
        if (mProjectFolder == folder)
            return;
        mProjectFolder = folder;
    }
    emit projectFolderChanged(folder);
}

QString SettingsModel::projectFile(const QString &name) const
{
    return QDir(projectFolder()).filePath(name);
}
