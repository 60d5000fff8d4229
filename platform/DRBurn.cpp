#include "platform/DRBurn.h"

#include <QSettings>

namespace {
QSettings applicationSettings()
{
    return QSettings(
        QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Kestrin"), QStringLiteral("Kestrin"));
}
}

DRBurn::DRBurn(std::shared_ptr<DRDevice> device)
    : mDevice(std::move(device))
{
}

bool DRBurn::storedAppendableOption()
{
    return applicationSettings().value(DRBurnOptionsAppendable, false).toBool();
}

void DRBurn::storeAppendableOption(bool appendable)
{
    QSettings settings = applicationSettings();
    settings.setValue(DRBurnOptionsAppendable, appendable);
    settings.sync();
}
