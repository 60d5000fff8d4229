#include "platform/ui/DREraseProgressPanel.h"

#include "platform/EraseSession.h"

DREraseProgressPanel* DREraseProgressPanel::progressPanel()
{
    return new DREraseProgressPanel;
}

DREraseProgressPanel::DREraseProgressPanel(QWidget* parent)
    : DiscJobProgressPanel(tr("Erasing"), tr("Erasing the disc."), parent)
{
}

void DREraseProgressPanel::beginProgressSheetForErase(std::shared_ptr<DRErase> erase, QWidget* window)
{
    mErase = erase;
    beginWithJob(new EraseSession(std::move(erase)), window);
}

void DREraseProgressPanel::finishJob()
{
    if (mDelegate)
        mDelegate->eraseProgressPanel(this, mErase.get());
}
