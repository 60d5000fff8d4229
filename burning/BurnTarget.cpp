#include "burning/BurnTarget.h"

#include "burning/CdrdaoDevice.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/LibburnDevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BurnTarget", text);
}

std::shared_ptr<DRDevice> recorderAt(const QString &deviceNode)
{
    for (const std::shared_ptr<DRDevice> &recorder : DRDevice::devices())
        if (CdrdaoDevice::registryPath(*recorder) == deviceNode)
            return recorder;
    return std::make_shared<LibburnDevice>(deviceNode, QString(), deviceNode);
}

}

std::shared_ptr<DRBurn> BurnTarget::burnFor(const QString &recorder, QString *error)
{
    if (recorder.startsWith(QLatin1String(kImagePrefix))) {
        const QString file = recorder.mid(qsizetype(qstrlen(kImagePrefix)));
        if (file.isEmpty()) {
            *error = tr("Name the disc image file after \"%1\".").arg(QLatin1String(kImagePrefix));
            return nullptr;
        }
        auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
        burn->setImageFile(QFileInfo(file).absoluteFilePath());
        return burn;
    }
    if (!CdrdaoDevice::isDeviceNode(recorder)) {
        *error = tr("\"%1\" is neither a recorder's device node (/dev/sr0) nor %2FILE.")
                     .arg(recorder, QLatin1String(kImagePrefix));
        return nullptr;
    }
    auto burn = std::make_shared<DRBurn>(recorderAt(QDir::cleanPath(recorder)));
    burn->setAppendable(DRBurn::storedAppendableOption());
    return burn;
}
