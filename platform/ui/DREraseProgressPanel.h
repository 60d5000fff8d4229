#pragma once

#include "platform/ui/DiscJobProgressPanel.h"

#include <memory>

class DRErase;
class DREraseProgressPanel;

class DREraseProgressPanelDelegate {
public:
    virtual ~DREraseProgressPanelDelegate() = default;
    // The "erase did finish" call, made when the user has closed the sheet.
    virtual bool eraseProgressPanel(DREraseProgressPanel* panel, DRErase* erase) = 0;
};

// The erase progress sheet: runs the erase (an EraseSession on a worker
// thread), shows its progress and outcome, and tells the delegate when the
// user has closed it.
class DREraseProgressPanel : public DiscJobProgressPanel {
    Q_OBJECT

public:
    // A new panel; it belongs to the window it is shown on.
    static DREraseProgressPanel* progressPanel();

    explicit DREraseProgressPanel(QWidget* parent = nullptr);

    void setDelegate(DREraseProgressPanelDelegate* delegate) { mDelegate = delegate; }

    void beginProgressSheetForErase(std::shared_ptr<DRErase> erase, QWidget* window);

protected:
    void finishJob() override;

private:
    DREraseProgressPanelDelegate* mDelegate = nullptr;
    std::shared_ptr<DRErase> mErase;
};
