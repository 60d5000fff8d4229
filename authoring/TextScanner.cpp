#include "authoring/TextScanner.h"

TextScanner::TextScanner(const QString &text)
    : mText(text)
{ }

bool TextScanner::skipPastString(const QString &string)
{
    const qsizetype found = mText.indexOf(string, mLocation);
    if (found < 0) {
        mLocation = mText.size();
        return false;
    }
    mLocation = found + string.size();
    return true;
}

bool TextScanner::scanInteger(qint64 *value)
{
    qsizetype at = mLocation;
    while (at < mText.size() && mText.at(at).isSpace())
        ++at;
    const qsizetype numberStart = at;
    if (at < mText.size() && (mText.at(at) == QLatin1Char('-') || mText.at(at) == QLatin1Char('+')))
        ++at;
    const qsizetype digitsStart = at;
    while (at < mText.size() && mText.at(at).isDigit() && mText.at(at).unicode() < 128)
        ++at;
    if (at == digitsStart)
        return false;
    bool ok = false;
    const qint64 number = QStringView(mText).mid(numberStart, at - numberStart).toLongLong(&ok);
    if (!ok)
        return false;
    *value = number;
    mLocation = at;
    return true;
}
