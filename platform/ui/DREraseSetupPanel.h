#pragma once

#include "platform/ui/DRSetupPanel.h"

class DRErase;

// The erase setup sheet: the recorder whose rewritable disc is blanked
// (quickly). The delegate decides which recorders are offered.
class DREraseSetupPanel : public DRSetupPanel {
    Q_OBJECT

public:
    // A new panel; it belongs to the window it is shown on.
    static DREraseSetupPanel* setupPanel();

    explicit DREraseSetupPanel(QWidget* parent = nullptr);

    // The erase for the chosen recorder; a new object each call.
    std::shared_ptr<DRErase> eraseObject() const;

protected:
    void deviceChanged() override;
};
