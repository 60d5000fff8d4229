#include "authoring/ui/ImageController.h"

#include "app/MessageSheet.h"
#include "authoring/ImageJob.h"
#include "authoring/ui/ImageProgressSheet.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

ImageController::ImageController(QWidget *window, MediaTree *tree, SettingsModel *settings, QObject *parent)
    : QObject(parent)
    , mKestrinWindow(window)
    , mTree(tree)
    , mSettings(settings)
{ }

ImageController::~ImageController() = default;

ImageProgressSheet *ImageController::imageProgressSheet() const
{
    return mImageProgressSheet;
}
QMessageBox *ImageController::messageSheet() const
{
    return mMessageSheet;
}

void ImageController::startImage()
{
    mConvertImageBurn = false;
    startImage1(true);
}

void ImageController::startImageInChain()
{
    mConvertImageBurn = true;
    startImage1(false);
}

void ImageController::startImage1(bool showSheets)
{
    if (readyToImage(showSheets))
        startImage2();
}

bool ImageController::readyToImage(bool)
{
    if (isImaging()) {
        QApplication::beep();
        return false;
    }
    const QStringList mediaList = ImageJob::mediaList(*mTree);
    if (ImageJob::readiness(mSettings->projectFolder(), mediaList) != ImageJob::Readiness::NotConverted)
        return true;
    showMessageSheet(QStringLiteral("mCantImageSheet"), tr("The movies must be converted before the image is built."),
        tr("The project folder holds %n converted movie(s)", nullptr,
            ImageJob::countMPEGFiles(mSettings->projectFolder()))
            + tr(" for %n movie(s) in the media tree. Convert them, then build the image again.", nullptr,
                int(mediaList.size())));
    return false;
}

void ImageController::startImage2()
{
    const QStringList mediaList = ImageJob::mediaList(*mTree);
    if (mediaList.isEmpty()) {
        showMessageSheet(QStringLiteral("mNoMoviesImageSheet"), tr("There are no movies to put on the disc."),
            tr("Add movies to the media tree, convert them, then build the image."));
        return;
    }
    mUserDidCancelImaging = false;
    mImageProgressSheet = new ImageProgressSheet(mKestrinWindow);
    mImageProgressSheet->setAttribute(Qt::WA_DeleteOnClose);
    mImageProgressSheet->mImagePathnameField->setText(ImageJob::imagePathname(mSettings->projectFolder()));
    connect(mImageProgressSheet, &ImageProgressSheet::stopClicked, this, &ImageController::imagePanelStop);
    connect(mImageProgressSheet, &QDialog::finished, this, &ImageController::imagePanelDidEnd);

    mJob = std::make_unique<ImageJob>(*mTree, *mSettings, mMenus);
    ImageProgressSheet *sheet = mImageProgressSheet;
    connect(mJob.get(), &ImageJob::stepChanged, sheet, &ImageProgressSheet::setStep);
    connect(mJob.get(), &ImageJob::scanProgressChanged, sheet, &ImageProgressSheet::setScanImageProgress);
    connect(mJob.get(), &ImageJob::writeProgressChanged, sheet, &ImageProgressSheet::setWriteImageProgress);
    connect(mJob.get(), &ImageJob::finished, this, &ImageController::imagePanelDone);
    mImageProgressSheet->open();
    mJob->start(mediaList);
}

void ImageController::imagePanelStop()
{
    if (!mJob)
        return;
    mUserDidCancelImaging = true;
    if (mImageProgressSheet)
        mImageProgressSheet->mStopButton->setEnabled(false);
    mJob->stop();
}

void ImageController::imagePanelDone(const ImageReport &report)
{
    mReport = report;
    if (mImageProgressSheet)
        mImageProgressSheet->done(1);
    else
        imagePanelDidEnd(1);
}

void ImageController::imagePanelDidEnd(int)
{
    if (mImageProgressSheet)
        mImageProgressSheet->close();
    // Its finished() is what brought us here.
    if (mJob)
        mJob.release()->deleteLater();
    const bool burn = std::exchange(mConvertImageBurn, false) && !mUserDidCancelImaging && mReport.succeeded();
    emit imageFinished(mReport);
    if (!mReport.succeeded() && !mReport.stopped())
        showFailure(mReport);
    if (burn)
        QMetaObject::invokeMethod(this, &ImageController::burnRequested, Qt::QueuedConnection);
}

void ImageController::showFailure(const ImageReport &report)
{
    QString informative = report.reason;
    if (!report.errorLines.isEmpty())
        informative += QStringLiteral("\n\n") + report.errorLines.join(QLatin1Char('\n'));
    showMessageSheet(
        QStringLiteral("mImageFailedSheet"), tr("The disc image could not be built."), informative, report.output);
}

void ImageController::showMessageSheet(
    const QString &name, const QString &text, const QString &informative, const QString &details)
{
    QMessageBox *sheet = MessageSheet::make(mKestrinWindow, name, text, informative, details);
    connect(sheet, &QDialog::finished, this, &ImageController::errorPanelDidEnd);
    mMessageSheet = sheet;
    sheet->open();
}

void ImageController::errorPanelDidEnd(int)
{
    if (mMessageSheet)
        mMessageSheet->close();
}
