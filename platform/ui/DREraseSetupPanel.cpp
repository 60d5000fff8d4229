#include "platform/ui/DREraseSetupPanel.h"

#include "platform/DRErase.h"

DREraseSetupPanel* DREraseSetupPanel::setupPanel()
{
    return new DREraseSetupPanel;
}

DREraseSetupPanel::DREraseSetupPanel(QWidget* parent)
    : DRSetupPanel(tr("Erase"), parent)
{
    deviceChanged();
}

std::shared_ptr<DRErase> DREraseSetupPanel::eraseObject() const
{
    return std::make_shared<DRErase>(selectedDevice());
}

void DREraseSetupPanel::deviceChanged()
{
    setOkEnabled(true);
}
