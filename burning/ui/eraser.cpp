#include "burning/ui/eraser.h"

#include "app/MyController.h"
#include "platform/DRDevice.h"
#include "platform/ui/DREraseSetupPanel.h"

#include <QApplication>

eraser::eraser(QWidget *window, MyController *controller, QObject *parent)
    : QObject(parent)
    , mKestrinWindow(window)
    , mController(controller)
{ }

DREraseSetupPanel *eraser::eraseSetupPanel() const
{
    return mSetupPanel;
}

void eraser::eraseCD()
{
    if (mSetupPanel || mProgressPanel) {
        QApplication::beep();
        return;
    }
    mSetupPanel = DREraseSetupPanel::setupPanel();
    mController->setMIgnoreInsert(true);
    mSetupPanel->setDelegate(this);
    mSetupPanel->beginSetupSheetForWindow(
        mKestrinWindow, this, [this](DRSetupPanel *panel, int returnCode) { handleSetupSheet(panel, returnCode); });
}

void eraser::handleSetupSheet(DRSetupPanel *panel, int returnCode)
{
    mSetupPanel = nullptr;
    panel->close();
    panel->deleteLater();
    if (returnCode == 1) {
        mProgressPanel = DREraseProgressPanel::progressPanel();
        mProgressPanel->setDelegate(this);
        mProgressPanel->beginProgressSheetForErase(
            static_cast<DREraseSetupPanel *>(panel)->eraseObject(), mKestrinWindow);
    }
    // Held only while the setup sheet is up, not during the erase.
    mController->setMIgnoreInsert(false);
}

bool eraser::setupPanel(DRSetupPanel *, DRDevice *device)
{
    return !device->writesImageFile();
}

bool eraser::eraseProgressPanel(DREraseProgressPanel *panel, DRErase *)
{
    panel->deleteLater();
    return true;
}
