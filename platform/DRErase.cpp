#include "platform/DRErase.h"

DRErase::DRErase(std::shared_ptr<DRDevice> device)
    : mDevice(std::move(device))
{
}
