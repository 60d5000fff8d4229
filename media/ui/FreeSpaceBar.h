#pragma once

#include <QProgressBar>

// Minutes of movie in the media tree against what the disc holds, with the
// figures written on the bar. A tree longer than the disc fills the bar and
// says by how much in its text.
class FreeSpaceBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit FreeSpaceBar(QWidget *parent = nullptr);

    double minutesUsed() const { return mMinutesUsed; }
    int maximumMinutes() const { return mMaximumMinutes; }

    void setMinutesUsed(double minutes);
    void setMaximumMinutes(int minutes);

private:
    void showFigures();

    double mMinutesUsed = 0.0;
    int mMaximumMinutes = 0;
};
