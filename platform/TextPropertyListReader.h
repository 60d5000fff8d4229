#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Reader of the old text form of property lists (`{ a = "b"; c = ( d, e ); }`),
// which libplist 2.2 cannot read. Dictionaries, arrays, quoted and bare
// strings with backslash escapes, `<hex>` data and comments. Never recurses
// deeper than a fixed limit, so hostile input cannot exhaust the stack.
class TextPropertyListReader
{
public:
    explicit TextPropertyListReader(const QByteArray &text);

    // Invalid QVariant on error; `error()` then says where and why.
    QVariant read();
    QString error() const { return mError; }

private:
    static constexpr int kMaxDepth = 512;

    QVariant readValue(int depth);
    QVariant readDictionary(int depth);
    QVariant readArray(int depth);
    QVariant readData();
    bool readString(QString *out);
    bool readQuotedString(QString *out);
    bool readEscape(QByteArray *utf8);
    void skipSpaceAndComments();
    bool expect(char c);
    bool atEnd() const { return mPos >= mText.size(); }
    char peek() const { return atEnd() ? '\0' : mText.at(mPos); }
    QVariant fail(const QString &why);

    QByteArray mText;
    qsizetype mPos = 0;
    QString mError;
};
