#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The sheet shown while the disc image is built: the image's name, the
// step, the scan and write bars and Stop. Escape means Stop: the sheet
// closes only when the build has ended.
class ImageProgressSheet : public QDialog
{
    Q_OBJECT

public:
    explicit ImageProgressSheet(QWidget *parent = nullptr);

    QLineEdit *mImagePathnameField;
    QLabel *mStepField;
    QProgressBar *mScanImageProgress;
    QProgressBar *mWriteImageProgress;
    QPushButton *mStopButton;

    void setScanImageProgress(int percent);
    void setWriteImageProgress(int percent);
    void setStep(const QString &step);

signals:
    void stopClicked();

public slots:
    void reject() override;
};
