#include "authoring/ui/ImageProgressSheet.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QProgressBar *percentBar(const QString &name)
{
    auto *bar = new QProgressBar;
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

} // namespace

ImageProgressSheet::ImageProgressSheet(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mImageProgressSheet"));
    setWindowTitle(tr("Building the Disc Image"));
    setWindowModality(Qt::WindowModal);

    mImagePathnameField = new QLineEdit;
    mImagePathnameField->setObjectName(QStringLiteral("mImagePathnameField"));
    mImagePathnameField->setReadOnly(true);
    mStepField = new QLabel;
    mStepField->setObjectName(QStringLiteral("mStepField"));
    mScanImageProgress = percentBar(QStringLiteral("mScanImageProgress"));
    mWriteImageProgress = percentBar(QStringLiteral("mWriteImageProgress"));
    mStopButton = new QPushButton(tr("Stop"));
    mStopButton->setObjectName(QStringLiteral("mStopButton"));
    connect(mStopButton, &QPushButton::clicked, this, &ImageProgressSheet::stopClicked);

    auto *form = new QFormLayout;
    form->addRow(tr("Image:"), mImagePathnameField);
    form->addRow(tr("Scanning:"), mScanImageProgress);
    form->addRow(tr("Writing:"), mWriteImageProgress);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mStopButton);
    auto *column = new QVBoxLayout(this);
    column->addWidget(mStepField);
    column->addLayout(form);
    column->addLayout(buttons);
    resize(520, sizeHint().height());
}

void ImageProgressSheet::setScanImageProgress(int percent)
{
    mScanImageProgress->setValue(percent);
}
void ImageProgressSheet::setWriteImageProgress(int percent)
{
    mWriteImageProgress->setValue(percent);
}
void ImageProgressSheet::setStep(const QString &step)
{
    mStepField->setText(step);
}

void ImageProgressSheet::reject()
{
    mStopButton->click();
}
