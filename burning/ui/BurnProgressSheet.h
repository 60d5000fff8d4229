#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
struct BurnProgress;

// The sheet shown while a disc is burned: the recorder's name, the bar, the
// step and Stop. Escape means Stop: the sheet closes only when the burn has
// ended.
class BurnProgressSheet : public QDialog
{
    Q_OBJECT

public:
    explicit BurnProgressSheet(QWidget *parent = nullptr);

    QLabel *mDeviceNameField;
    QProgressBar *mBurnProgressIndicator;
    QLabel *mBurnStepField;
    QPushButton *mStopButton;

    void setBurnProgress(const BurnProgress &progress);

signals:
    void stopClicked();

public slots:
    void reject() override;
};
