#pragma once

#include <QString>

// Reads a line of a program's output from left to right: jump past a
// marker, then read the number after it. Made for the progress lines of
// vcdxbuild and cdrdao, whose fields come in a known order.
class TextScanner
{
public:
    explicit TextScanner(const QString &text);

    // When the text at the scan position is `string`, consumes it; otherwise
    // moves past the next occurrence of it. False, with the scanner at the
    // end, when there is none.
    bool skipPastString(const QString &string);

    // Skips white space, then reads an optionally signed decimal integer.
    // False, with the position unchanged, when no digit follows.
    bool scanInteger(qint64 *value);

    bool isAtEnd() const { return mLocation >= mText.size(); }
    qsizetype scanLocation() const { return mLocation; }

private:
    QString mText;
    qsizetype mLocation = 0;
};
