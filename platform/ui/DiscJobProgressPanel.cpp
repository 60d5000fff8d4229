#include "platform/ui/DiscJobProgressPanel.h"

#include "platform/DiscJob.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kBarSteps = 1000;
constexpr int kMinimumWidth = 420;
}

DiscJobProgressPanel::DiscJobProgressPanel(const QString& title, const QString& workingText, QWidget* parent)
    : QDialog(parent)
    , mWorkingText(workingText)
    , mStatusLabel(new QLabel(workingText, this))
    , mBar(new QProgressBar(this))
    , mButton(new QPushButton(tr("Stop"), this))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(kMinimumWidth);
    mStatusLabel->setWordWrap(true);
    mStatusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mBar->setRange(0, kBarSteps);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mStatusLabel);
    layout->addWidget(mBar);
    layout->addWidget(mButton, 0, Qt::AlignRight);
    connect(mButton, &QPushButton::clicked, this, &DiscJobProgressPanel::stopOrClose);
}

DiscJobProgressPanel::~DiscJobProgressPanel() = default;

QString DiscJobProgressPanel::outcomeText() const
{
    return mFinished ? mStatusLabel->text() : QString();
}

void DiscJobProgressPanel::beginWithJob(DiscJob* job, QWidget* window)
{
    Q_ASSERT(!mJob);
    mJob = job;
    mJob->setParent(this);
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    connect(mJob, &DiscJob::progressChanged, this, &DiscJobProgressPanel::showProgress);
    connect(mJob, &DiscJob::finished, this, &DiscJobProgressPanel::showOutcome);
    open();
    mJob->start();
}

void DiscJobProgressPanel::reject()
{
    stopOrClose();
}

void DiscJobProgressPanel::showProgress(double percent, const QString& status)
{
    if (mFinished)
        return;
    mBar->setValue(int(std::lround(percent * kBarSteps / 100.0)));
    const QString step = mVerbose && !status.isEmpty() ? status : mWorkingText;
    mStatusLabel->setText(tr("%1 (%2 %)").arg(step).arg(int(percent)));
}

void DiscJobProgressPanel::showOutcome(const DiscJobResult& result)
{
    mFinished = true;
    mResult = result;
    if (result.succeeded())
        mBar->setValue(kBarSteps);
    QString text = result.message;
    if (text.isEmpty())
        text = result.succeeded() ? tr("Done.") : tr("The job failed.");
    mStatusLabel->setText(text);
    mButton->setText(tr("Close"));
    mButton->setEnabled(true);
}

void DiscJobProgressPanel::stopOrClose()
{
    if (!mFinished) {
        mJob->stop();
        mButton->setEnabled(false);
        mStatusLabel->setText(tr("Stopping…"));
        return;
    }
    done(mResult.succeeded() ? QDialog::Accepted : QDialog::Rejected);
    finishJob();
}
