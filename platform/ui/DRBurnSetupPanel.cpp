#include "platform/ui/DRBurnSetupPanel.h"

#include "platform/DRBurn.h"
#include "platform/DRDevice.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

DRBurnSetupPanel *DRBurnSetupPanel::setupPanel()
{
    return new DRBurnSetupPanel;
}

DRBurnSetupPanel::DRBurnSetupPanel(QWidget *parent)
    : DRSetupPanel(tr("Burn"), parent)
    , mAppendableBox(new QCheckBox(tr("Leave the disc appendable"), this))
    , mImageFileRow(new QWidget(this))
    , mImageFileEdit(new QLineEdit(mImageFileRow))
{
    auto *row = new QHBoxLayout(mImageFileRow);
    row->setContentsMargins(0, 0, 0, 0);
    auto *choose = new QPushButton(tr("Choose…"), mImageFileRow);
    row->addWidget(mImageFileEdit);
    row->addWidget(choose);
    mImageFileEdit->setPlaceholderText(tr("File for the disc image"));
    // Room for a path a person can read.
    mImageFileEdit->setMinimumWidth(300);
    form()->addRow(QString(), mAppendableBox);
    form()->addRow(tr("Image file:"), mImageFileRow);
    mAppendableBox->setChecked(DRBurn::storedAppendableOption());

    connect(choose, &QPushButton::clicked, this, &DRBurnSetupPanel::chooseImageFile);
    connect(mImageFileEdit, &QLineEdit::textChanged, this, &DRBurnSetupPanel::deviceChanged);
    deviceChanged();
}

void DRBurnSetupPanel::setCanSelectAppendableMedia(bool can)
{
    mCanSelectAppendable = can;
    if (!can)
        mAppendableBox->setChecked(false);
    deviceChanged();
}

QString DRBurnSetupPanel::imageFile() const
{
    return mImageFileEdit->text().trimmed();
}

void DRBurnSetupPanel::setImageFile(const QString &path)
{
    mImageFileEdit->setText(path);
}

std::shared_ptr<DRBurn> DRBurnSetupPanel::burnObject() const
{
    auto burn = std::make_shared<DRBurn>(selectedDevice());
    burn->setAppendable(mAppendableBox->isChecked());
    if (selectedDevice() && selectedDevice()->writesImageFile())
        burn->setImageFile(imageFile());
    return burn;
}

void DRBurnSetupPanel::accept()
{
    DRBurn::storeAppendableOption(mAppendableBox->isChecked());
    DRSetupPanel::accept();
}

void DRBurnSetupPanel::deviceChanged()
{
    const std::shared_ptr<DRDevice> device = selectedDevice();
    const bool writesFile = device && device->writesImageFile();
    mImageFileRow->setEnabled(writesFile);
    // An image file is written whole: appending means nothing there.
    mAppendableBox->setEnabled(mCanSelectAppendable && !writesFile);
    setOkEnabled(!writesFile || !imageFile().isEmpty());
}

void DRBurnSetupPanel::chooseImageFile()
{
    auto *dialog = new QFileDialog(this, tr("Disc Image File"), imageFile());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters({ tr("Disc images (*.cue *.bin *.iso)"), tr("All files (*)") });
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &DRBurnSetupPanel::setImageFile);
    dialog->open();
}
