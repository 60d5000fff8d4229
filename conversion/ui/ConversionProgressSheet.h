#pragma once

#include <QDialog>

class ConversionJob;
class QLabel;
class QProgressBar;
class QPushButton;

// The conversion's progress sheet: the movie each worker is on and the movie
// being multiplexed, a bar for every step, and Stop. It shows a
// ConversionJob; it never does the work.
class ConversionProgressSheet : public QDialog
{
    Q_OBJECT

public:
    explicit ConversionProgressSheet(QWidget *parent);

    // Shows the job's progress from now on.
    void follow(const ConversionJob *job);

    QLabel *mCurrentMovieAudioField;
    QLabel *mCurrentMovieVideoField;
    QLabel *mCurrentMovieConvertField;
    QProgressBar *mExtractAudioProgress;
    QProgressBar *mConvertAudioProgress;
    QProgressBar *mConvertVideoProgress;
    QProgressBar *mCombineProgress;
    QPushButton *mStopButton;

public slots:
    void reject() override;

signals:
    // buildPanelStop: the user pressed Stop.
    void stopClicked();

private:
    void showCombining(const QString &name);
};
