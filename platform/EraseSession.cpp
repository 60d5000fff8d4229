#include "platform/EraseSession.h"

#include "platform/DRDevice.h"

EraseSession::EraseSession(std::shared_ptr<DRErase> erase, QObject* parent)
    : DiscJob(parent)
    , mErase(std::move(erase))
{
}

DiscJobResult EraseSession::work()
{
    if (!mErase->device())
        return DiscJobResult::failure(tr("No recorder was chosen."));
    return mErase->device()->eraseMedia(*mErase, *this);
}
