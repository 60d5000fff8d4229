#include "platform/ui/DRSetupPanel.h"

#include "platform/DRDevice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

DRSetupPanel::DRSetupPanel(const QString& title, QWidget* parent)
    : QDialog(parent)
    , mDeviceBox(new QComboBox(this))
    , mScanLabel(new QLabel(tr("Looking for recorders…"), this))
    , mForm(new QFormLayout)
    , mButtons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    mForm->addRow(tr("Recorder:"), mDeviceBox);
    mForm->addRow(QString(), mScanLabel);
    layout->addLayout(mForm);
    layout->addWidget(mButtons);
    connect(mButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(mButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mDeviceBox, &QComboBox::currentIndexChanged, this, [this] { deviceChanged(); });

    showDevices({ DRDevice::discImageFileDevice() });
    startScan();
}

void DRSetupPanel::setDelegate(DRSetupPanelDelegate* delegate)
{
    mDelegate = delegate;
    showDevices(mDevices);
}

void DRSetupPanel::beginSetupSheetForWindow(QWidget* window, QObject* context, DidEnd didEnd)
{
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    connect(
        this, &QDialog::finished, context, [this, didEnd](int returnCode) { didEnd(this, returnCode); },
        Qt::SingleShotConnection);
    open();
}

std::shared_ptr<DRDevice> DRSetupPanel::selectedDevice() const
{
    const int index = mDeviceBox->currentIndex();
    return index >= 0 ? mDevices.value(mDeviceBox->currentData().toInt()) : nullptr;
}

void DRSetupPanel::setOkEnabled(bool enabled)
{
    mButtons->button(QDialogButtonBox::Ok)->setEnabled(enabled && selectedDevice());
}

void DRSetupPanel::startScan()
{
    mScanning = true;
    auto found = std::make_shared<QList<std::shared_ptr<DRDevice>>>();
    QThread* scan = QThread::create([found] { *found = DRDevice::devices(); });
    connect(scan, &QThread::finished, this, [this, found] {
        mScanning = false;
        mScanLabel->hide();
        showDevices(*found);
        emit devicesScanned();
    });
    connect(scan, &QThread::finished, scan, &QObject::deleteLater);
    scan->start();
}

void DRSetupPanel::showDevices(const QList<std::shared_ptr<DRDevice>>& devices)
{
    const std::shared_ptr<DRDevice> chosen = selectedDevice();
    mDevices = devices;
    const QSignalBlocker blocker(mDeviceBox);
    mDeviceBox->clear();
    for (int i = 0; i < mDevices.size(); ++i) {
        if (!mDelegate || mDelegate->setupPanel(this, mDevices[i].get()))
            mDeviceBox->addItem(mDevices[i]->displayName(), i);
    }
    const int kept = chosen ? mDeviceBox->findData(int(mDevices.indexOf(chosen))) : -1;
    // A physical recorder is the likelier choice once one is found.
    mDeviceBox->setCurrentIndex(kept >= 0 && !chosen->writesImageFile() ? kept : (mDeviceBox->count() > 0 ? 0 : -1));
    deviceChanged();
}
