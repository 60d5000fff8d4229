#include "platform/DRBurn.h"

#include "platform/UserDefaults.h"

DRBurn::DRBurn(std::shared_ptr<DRDevice> device)
    : mDevice(std::move(device))
{
}

bool DRBurn::storedAppendableOption()
{
    return UserDefaults::value(DRBurnOptionsAppendable).toBool();
}

void DRBurn::storeAppendableOption(bool appendable)
{
    UserDefaults::setValue(DRBurnOptionsAppendable, appendable);
}
