#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class DRDevice;
class DRSetupPanel;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;

// Asked by a setup panel for every recorder whether the user may choose it.
class DRSetupPanelDelegate {
public:
    virtual ~DRSetupPanelDelegate() = default;
    // The "device could be target" question.
    virtual bool setupPanel(DRSetupPanel* panel, DRDevice* device) = 0;
};

// What the burn and erase setup panels share: a window-modal dialog with the
// recorder to choose, filled at once with the "Disc Image File" recorder and
// completed by a scan for physical recorders on a worker thread, so that a
// slow drive never holds up the window. OK gives return code 1.
class DRSetupPanel : public QDialog {
    Q_OBJECT

public:
    // The DidEnd handler: the panel and its return code (1 = OK).
    using DidEnd = std::function<void(DRSetupPanel* panel, int returnCode)>;

    void setDelegate(DRSetupPanelDelegate* delegate);

    // Shows the panel as a sheet on `window` and returns at once; `didEnd`
    // is called on `context`'s thread when the user closes it.
    void beginSetupSheetForWindow(QWidget* window, QObject* context, DidEnd didEnd);

    std::shared_ptr<DRDevice> selectedDevice() const;
    bool isScanning() const { return mScanning; }

signals:
    // The recorder list is complete (the scan for physical recorders ended).
    void devicesScanned();

protected:
    explicit DRSetupPanel(const QString& title, QWidget* parent = nullptr);

    QFormLayout* form() const { return mForm; }
    QDialogButtonBox* buttons() const { return mButtons; }
    // Called when the chosen recorder changes; subclasses refresh their
    // controls and the OK button.
    virtual void deviceChanged() { }
    void setOkEnabled(bool enabled);

private:
    void startScan();
    void showDevices(const QList<std::shared_ptr<DRDevice>>& devices);

    DRSetupPanelDelegate* mDelegate = nullptr;
    QList<std::shared_ptr<DRDevice>> mDevices;
    QComboBox* mDeviceBox;
    QLabel* mScanLabel;
    QFormLayout* mForm;
    QDialogButtonBox* mButtons;
    bool mScanning = false;
};
