#pragma once

#include "platform/ui/DREraseProgressPanel.h"
#include "platform/ui/DRSetupPanel.h"

#include <QObject>
#include <QPointer>

class DREraseSetupPanel;
class MyController;
class QWidget;

// The Erase command: the erase setup sheet offers the recorders that can
// blank a rewritable disc, and the erase progress sheet runs the erase and
// shows how it ended. The main controller is told to ignore inserted discs
// only while the setup sheet is up.
class eraser : public QObject, public DRSetupPanelDelegate, public DREraseProgressPanelDelegate
{
    Q_OBJECT

public:
    eraser(QWidget *window, MyController *controller, QObject *parent = nullptr);

    void eraseCD();

    // Erase setup delegate: only a recorder that holds a real disc may be
    // chosen (the disc image recorder has nothing to erase).
    bool setupPanel(DRSetupPanel *panel, DRDevice *device) override;
    // Erase progress delegate.
    bool eraseProgressPanel(DREraseProgressPanel *panel, DRErase *erase) override;

    // The sheets while they are up (for whoever drives the window).
    DREraseSetupPanel *eraseSetupPanel() const;
    DREraseProgressPanel *eraseProgressPanel() const { return mProgressPanel; }

private:
    void handleSetupSheet(DRSetupPanel *panel, int returnCode);

    QWidget *mKestrinWindow;
    MyController *mController;
    QPointer<DREraseSetupPanel> mSetupPanel;
    QPointer<DREraseProgressPanel> mProgressPanel;
};
