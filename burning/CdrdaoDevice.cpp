#include "burning/CdrdaoDevice.h"

#include "platform/DRDevice.h"

QString CdrdaoDevice::registryPath(const DRDevice &recorder)
{
    return recorder.info().value(DRDeviceIORegistryEntryPathKey).toString();
}

QString CdrdaoDevice::recorderName(const QString &registryPath)
{
    const QStringList components = registryPath.split(QLatin1Char('/'));
    const QString last = components.last();
    if (last.startsWith(QLatin1String("IO")) || components.size() < 2)
        return last;
    return components.at(components.size() - 2) + QLatin1Char('/') + last;
}

bool CdrdaoDevice::isDeviceNode(const QString &path)
{
    return path.startsWith(QLatin1String("/dev/"));
}

QString CdrdaoDevice::deviceString(const QString &chosenPath, const QStringList &recorderPaths)
{
    if (isDeviceNode(chosenPath))
        return chosenPath;
    const QString name = recorderName(chosenPath);
    int sameName = 0;
    for (const QString &path : recorderPaths) {
        if (recorderName(path) != name)
            continue;
        ++sameName;
        if (path == chosenPath)
            return name + QStringLiteral("/%1").arg(sameName);
    }
    return name;
}

QString CdrdaoDevice::deviceString(const DRDevice &chosen, const RecorderSource &recorders)
{
    const QString chosenPath = registryPath(chosen);
    // A device node needs no look at the other recorders, whose scan may
    // take a while.
    if (isDeviceNode(chosenPath))
        return chosenPath;
    QStringList paths;
    for (const std::shared_ptr<DRDevice> &recorder : recorders())
        paths.append(registryPath(*recorder));
    return deviceString(chosenPath, paths);
}
