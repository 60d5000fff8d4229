#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DRDevice;

// The --device argument that makes cdrdao write with the recorder chosen in
// the burn setup. A recorder's path here is its device node (/dev/sr0),
// which cdrdao takes as it is. A path of the I/O registry form is turned
// into the registry name of the device, numbered among recorders of the
// same name ("IOSCSIPeripheralDeviceNub/2" for the second).
class CdrdaoDevice
{
public:
    using RecorderSource = std::function<QList<std::shared_ptr<DRDevice>>()>;

    // `recorders` gives every recorder in the layer's order; it is asked only
    // when the chosen recorder's path is not a device node.
    static QString deviceString(const DRDevice &chosen, const RecorderSource &recorders);
    // The same from the recorders' paths, in the layer's order.
    static QString deviceString(const QString &chosenPath, const QStringList &recorderPaths);

    // The last component of a registry path, or the last two joined by a
    // slash when the last does not begin with "IO".
    static QString recorderName(const QString &registryPath);

    static QString registryPath(const DRDevice &recorder);
    static bool isDeviceNode(const QString &path);
};
