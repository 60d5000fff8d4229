#include "conversion/ui/ConversionProgressSheet.h"

#include "conversion/ConversionJob.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QProgressBar *percentBar(QWidget *parent)
{
    auto *bar = new QProgressBar(parent);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

QLabel *movieField(QWidget *parent)
{
    auto *field = new QLabel(parent);
    field->setMinimumWidth(320);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

} // namespace

ConversionProgressSheet::ConversionProgressSheet(QWidget *parent)
    : QDialog(parent)
    , mCurrentMovieAudioField(movieField(this))
    , mCurrentMovieVideoField(movieField(this))
    , mCurrentMovieConvertField(movieField(this))
    , mExtractAudioProgress(percentBar(this))
    , mConvertAudioProgress(percentBar(this))
    , mConvertVideoProgress(percentBar(this))
    , mCombineProgress(percentBar(this))
    , mStopButton(new QPushButton(tr("Stop"), this))
{
    setWindowTitle(tr("Converting Movies"));
    setWindowModality(Qt::WindowModal);

    auto *form = new QFormLayout;
    form->addRow(tr("Sound of:"), mCurrentMovieAudioField);
    form->addRow(tr("Extracting sound:"), mExtractAudioProgress);
    form->addRow(tr("Encoding sound:"), mConvertAudioProgress);
    form->addRow(tr("Picture of:"), mCurrentMovieVideoField);
    form->addRow(tr("Encoding picture:"), mConvertVideoProgress);
    form->addRow(tr("Sound and picture of:"), mCurrentMovieConvertField);
    form->addRow(tr("Combining:"), mCombineProgress);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(mStopButton, QDialogButtonBox::RejectRole);
    // Stop asks the workers to end; the sheet ends when they have.
    connect(mStopButton, &QPushButton::clicked, this, [this] {
        mStopButton->setEnabled(false);
        emit stopClicked();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

// Escape would close the sheet while the workers go on: it means Stop.
void ConversionProgressSheet::reject()
{
    if (mStopButton->isEnabled())
        mStopButton->click();
}

void ConversionProgressSheet::follow(const ConversionJob *job)
{
    connect(job, &ConversionJob::audioMovieChanged, mCurrentMovieAudioField, &QLabel::setText);
    connect(job, &ConversionJob::videoMovieChanged, mCurrentMovieVideoField, &QLabel::setText);
    connect(job, &ConversionJob::combineMovieChanged, this, &ConversionProgressSheet::showCombining);
    connect(job, &ConversionJob::extractAudioProgressChanged, mExtractAudioProgress, &QProgressBar::setValue);
    connect(job, &ConversionJob::convertAudioProgressChanged, mConvertAudioProgress, &QProgressBar::setValue);
    connect(job, &ConversionJob::convertVideoProgressChanged, mConvertVideoProgress, &QProgressBar::setValue);
}

// mplex says nothing about its progress: the bar is busy while it runs.
void ConversionProgressSheet::showCombining(const QString &name)
{
    mCurrentMovieConvertField->setText(name);
    if (name.isEmpty())
        mCombineProgress->setRange(0, 100);
    else
        mCombineProgress->setRange(0, 0);
    mCombineProgress->setValue(0);
}
