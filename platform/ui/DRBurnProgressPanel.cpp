#include "platform/ui/DRBurnProgressPanel.h"

#include "platform/BurnSession.h"

DRBurnProgressPanel* DRBurnProgressPanel::progressPanel()
{
    return new DRBurnProgressPanel;
}

DRBurnProgressPanel::DRBurnProgressPanel(QWidget* parent)
    : DiscJobProgressPanel(tr("Burning"), tr("Burning the disc."), parent)
{
}

void DRBurnProgressPanel::beginProgressSheetForBurn(
    std::shared_ptr<DRBurn> burn, const DRLayout& layout, QWidget* window)
{
    beginWithJob(new BurnSession(std::move(burn), layout), window);
}

void DRBurnProgressPanel::beginProgressSheetForBurn(
    std::shared_ptr<DRBurn> burn, std::shared_ptr<DRTrack> track, QWidget* window)
{
    beginProgressSheetForBurn(std::move(burn), DRLayout { std::move(track) }, window);
}

void DRBurnProgressPanel::finishJob()
{
    if (mDelegate)
        mDelegate->burnProgressPanelDidFinish(this);
}
