#pragma once

#include "platform/DRTrack.h"
#include "platform/ui/DiscJobProgressPanel.h"

#include <memory>

class DRBurn;
class DRBurnProgressPanel;

class DRBurnProgressPanelDelegate {
public:
    virtual ~DRBurnProgressPanelDelegate() = default;
    // The sheet is closed; the burn is over.
    virtual void burnProgressPanelDidFinish(DRBurnProgressPanel* panel) = 0;
};

// The burn progress sheet: runs the burn of a layout (a BurnSession on a
// worker thread), shows its progress and outcome, and tells the delegate
// when the user has closed it.
class DRBurnProgressPanel : public DiscJobProgressPanel {
    Q_OBJECT

public:
    // A new panel; it belongs to the window it is shown on.
    static DRBurnProgressPanel* progressPanel();

    explicit DRBurnProgressPanel(QWidget* parent = nullptr);

    void setDelegate(DRBurnProgressPanelDelegate* delegate) { mDelegate = delegate; }

    void beginProgressSheetForBurn(std::shared_ptr<DRBurn> burn, const DRLayout& layout, QWidget* window);
    void beginProgressSheetForBurn(std::shared_ptr<DRBurn> burn, std::shared_ptr<DRTrack> track, QWidget* window);

protected:
    void finishJob() override;

private:
    DRBurnProgressPanelDelegate* mDelegate = nullptr;
};
