#pragma once

#include "platform/DiscJobResult.h"

#include <QDialog>

class DiscJob;
class QLabel;
class QProgressBar;
class QPushButton;

// What the burn and erase progress sheets share: a window-modal dialog that
// follows a DiscJob running on its worker thread (the percentage, the step
// text when verbose), offers Stop while it runs, then shows the outcome
// (success, or the failure in words) until the user closes it. Closing it
// calls finishJob(), where the subclass tells its delegate.
class DiscJobProgressPanel : public QDialog {
    Q_OBJECT

public:
    ~DiscJobProgressPanel() override;

    void setVerboseProgressStatus(bool verbose) { mVerbose = verbose; }

    DiscJob* job() const { return mJob; }
    bool isFinished() const { return mFinished; }
    QString outcomeText() const;

    // While the job runs, closing the window asks it to stop instead.
    void reject() override;

protected:
    DiscJobProgressPanel(const QString& title, const QString& workingText, QWidget* parent);

    // Takes the job, shows the sheet on `window` and starts the job.
    void beginWithJob(DiscJob* job, QWidget* window);
    // The user closed the sheet after the job ended.
    virtual void finishJob() = 0;

private:
    void showProgress(double percent, const QString& status);
    void showOutcome(const DiscJobResult& result);
    void stopOrClose();

    DiscJob* mJob = nullptr;
    QString mWorkingText;
    QLabel* mStatusLabel;
    QProgressBar* mBar;
    QPushButton* mButton;
    bool mVerbose = false;
    bool mFinished = false;
    DiscJobResult mResult;
};
