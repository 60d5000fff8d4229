#pragma once

#include <QString>

// Follows bbdmux's output: every line begins with the number of bytes it has
// written since the previous line, and their sum against the input's size is
// the share done.
class BbdmuxProgress
{
public:
    explicit BbdmuxProgress(quint64 inputSize);

    // Adds the line's count and answers the percentage done.
    int addLine(const QString &line);

    quint64 total() const { return mTotal; }
    int percent() const;

    // The decimal number the line begins with, after leading blanks; 0 when
    // it begins with none.
    static quint64 leadingCount(const QString &line);

private:
    quint64 mHundredth;
    quint64 mTotal = 0;
};
