#include "platform/TextPropertyListReader.h"

#include <QVariantList>
#include <QVariantMap>

namespace {

bool isBareChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
        || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

TextPropertyListReader::TextPropertyListReader(const QByteArray &text)
    : mText(text)
{ }

QVariant TextPropertyListReader::read()
{
    mPos = 0;
    mError.clear();
    QVariant value = readValue(0);
    if (!value.isValid())
        return value;
    skipSpaceAndComments();
    if (!atEnd())
        return fail(QStringLiteral("unexpected text after the end"));
    return value;
}

QVariant TextPropertyListReader::fail(const QString &why)
{
    if (mError.isEmpty())
        mError = QStringLiteral("%1 at byte %2").arg(why).arg(mPos);
    return {};
}

void TextPropertyListReader::skipSpaceAndComments()
{
    while (!atEnd()) {
        const char c = peek();
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            ++mPos;
        } else if (c == '/' && mPos + 1 < mText.size() && mText.at(mPos + 1) == '/') {
            while (!atEnd() && peek() != '\n')
                ++mPos;
        } else if (c == '/' && mPos + 1 < mText.size() && mText.at(mPos + 1) == '*') {
            const qsizetype end = mText.indexOf("*/", mPos + 2);
            mPos = end < 0 ? mText.size() : end + 2;
        } else {
            return;
        }
    }
}

bool TextPropertyListReader::expect(char c)
{
    skipSpaceAndComments();
    if (peek() != c)
        return false;
    ++mPos;
    return true;
}

QVariant TextPropertyListReader::readValue(int depth)
{
    if (depth > kMaxDepth)
        return fail(QStringLiteral("nested too deeply"));
    skipSpaceAndComments();
    switch (peek()) {
    case '{':
        return readDictionary(depth);
    case '(':
        return readArray(depth);
    case '<':
        return readData();
    default: {
        QString text;
        if (!readString(&text))
            return fail(QStringLiteral("expected a value"));
        return text;
    }
    }
}

QVariant TextPropertyListReader::readDictionary(int depth)
{
    ++mPos; // '{'
    QVariantMap map;
    for (;;) {
        if (expect('}'))
            return map;
        QString key;
        skipSpaceAndComments();
        if (!readString(&key))
            return fail(QStringLiteral("expected a key"));
        if (!expect('='))
            return fail(QStringLiteral("expected '='"));
        QVariant value = readValue(depth + 1);
        if (!value.isValid())
            return value;
        map.insert(key, value);
        if (!expect(';'))
            return fail(QStringLiteral("expected ';'"));
    }
}

QVariant TextPropertyListReader::readArray(int depth)
{
    ++mPos; // '('
    QVariantList list;
    if (expect(')'))
        return list;
    for (;;) {
        QVariant value = readValue(depth + 1);
        if (!value.isValid())
            return value;
        list.append(value);
        if (expect(')'))
            return list;
        if (!expect(','))
            return fail(QStringLiteral("expected ',' or ')'"));
        if (expect(')')) // a trailing comma is allowed
            return list;
    }
}

QVariant TextPropertyListReader::readData()
{
    ++mPos; // '<'
    QByteArray bytes;
    int high = -1;
    for (;;) {
        skipSpaceAndComments();
        if (atEnd())
            return fail(QStringLiteral("unterminated data"));
        const char c = mText.at(mPos++);
        if (c == '>')
            break;
        const int nibble = hexValue(c);
        if (nibble < 0)
            return fail(QStringLiteral("bad hex digit in data"));
        if (high < 0) {
            high = nibble;
        } else {
            bytes.append(char(high << 4 | nibble));
            high = -1;
        }
    }
    if (high >= 0)
        return fail(QStringLiteral("odd number of hex digits in data"));
    return bytes;
}

bool TextPropertyListReader::readString(QString *out)
{
    if (peek() == '"')
        return readQuotedString(out);
    const qsizetype start = mPos;
    while (!atEnd() && isBareChar(peek()))
        ++mPos;
    if (mPos == start)
        return false;
    *out = QString::fromUtf8(mText.mid(start, mPos - start));
    return true;
}

bool TextPropertyListReader::readQuotedString(QString *out)
{
    ++mPos; // opening quote
    QByteArray utf8;
    for (;;) {
        if (atEnd()) {
            fail(QStringLiteral("unterminated string"));
            return false;
        }
        const char c = mText.at(mPos++);
        if (c == '"')
            break;
        if (c != '\\') {
            utf8.append(c);
        } else if (!readEscape(&utf8)) {
            return false;
        }
    }
    *out = QString::fromUtf8(utf8);
    return true;
}

bool TextPropertyListReader::readEscape(QByteArray *utf8)
{
    if (atEnd()) {
        fail(QStringLiteral("unterminated escape"));
        return false;
    }
    const char c = mText.at(mPos++);
    switch (c) {
    case 'n':
        utf8->append('\n');
        return true;
    case 't':
        utf8->append('\t');
        return true;
    case 'r':
        utf8->append('\r');
        return true;
    case 'a':
        utf8->append('\a');
        return true;
    case 'b':
        utf8->append('\b');
        return true;
    case 'f':
        utf8->append('\f');
        return true;
    case 'v':
        utf8->append('\v');
        return true;
    case 'U':
    case 'u': {
        char16_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int nibble = atEnd() ? -1 : hexValue(peek());
            if (nibble < 0) {
                fail(QStringLiteral("bad \\U escape"));
                return false;
            }
            unit = char16_t(unit << 4 | nibble);
            ++mPos;
        }
        utf8->append(QString(QChar(unit)).toUtf8());
        return true;
    }
    default:
        if (c >= '0' && c <= '7') {
            int value = c - '0';
            for (int i = 0; i < 2 && !atEnd() && peek() >= '0' && peek() <= '7'; ++i)
                value = value * 8 + (mText.at(mPos++) - '0');
            utf8->append(char(value));
            return true;
        }
        utf8->append(c); // \" \\ and any other character stand for themselves
        return true;
    }
}
