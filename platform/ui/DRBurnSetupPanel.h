#pragma once

#include "platform/ui/DRSetupPanel.h"

class DRBurn;
class QCheckBox;
class QLineEdit;
class QWidget;

// The burn setup sheet: the recorder, whether the disc stays appendable
// (remembered under DRBurnOptionsAppendable), and, for the "Disc Image File"
// recorder, the file to write. burnObject() carries the confirmed choices.
class DRBurnSetupPanel : public DRSetupPanel {
    Q_OBJECT

public:
    // A new panel; it belongs to the window it is shown on.
    static DRBurnSetupPanel* setupPanel();

    explicit DRBurnSetupPanel(QWidget* parent = nullptr);

    // False: the appendable option is off and cannot be turned on.
    void setCanSelectAppendableMedia(bool can);

    QString imageFile() const;
    void setImageFile(const QString& path);

    // The burn for the chosen recorder with the chosen options; a new object
    // each call.
    std::shared_ptr<DRBurn> burnObject() const;

    void accept() override;

protected:
    void deviceChanged() override;

private:
    void chooseImageFile();

    QCheckBox* mAppendableBox;
    QWidget* mImageFileRow;
    QLineEdit* mImageFileEdit;
    bool mCanSelectAppendable = true;
};
