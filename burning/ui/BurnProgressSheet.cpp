#include "burning/ui/BurnProgressSheet.h"

#include "burning/BurnProgress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

BurnProgressSheet::BurnProgressSheet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mBurnProgressSheet"));
    setWindowTitle(tr("Burning"));
    setWindowModality(Qt::WindowModal);

    mDeviceNameField = new QLabel;
    mDeviceNameField->setObjectName(QStringLiteral("mDeviceNameField"));
    mBurnProgressIndicator = new QProgressBar;
    mBurnProgressIndicator->setObjectName(QStringLiteral("mBurnProgressIndicator"));
    mBurnProgressIndicator->setMinimumWidth(360);
    mBurnStepField = new QLabel;
    mBurnStepField->setObjectName(QStringLiteral("mBurnStepField"));
    auto *buttons = new QDialogButtonBox;
    mStopButton = buttons->addButton(tr("Stop"), QDialogButtonBox::RejectRole);
    mStopButton->setObjectName(QStringLiteral("mStopButton"));
    connect(mStopButton, &QPushButton::clicked, this, &BurnProgressSheet::stopClicked);

    auto *form = new QFormLayout;
    form->addRow(tr("Recorder:"), mDeviceNameField);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mBurnProgressIndicator);
    layout->addWidget(mBurnStepField);
    layout->addWidget(buttons);
    setBurnProgress(BurnProgress());
}

void BurnProgressSheet::setBurnProgress(const BurnProgress &progress)
{
    // A range of 0 to 0 is Qt's busy bar.
    mBurnProgressIndicator->setRange(0, progress.indeterminate ? 0 : 100);
    mBurnProgressIndicator->setValue(progress.percent);
    mBurnStepField->setText(progress.step);
}

void BurnProgressSheet::reject()
{
    emit stopClicked();
}
