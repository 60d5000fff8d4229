#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// Property lists as QVariant values: dictionaries are QVariantMap, arrays
// QVariantList, strings QString, integers qlonglong, reals double, booleans
// bool, data QByteArray and dates QDateTime. Integers stay integers and reals
// stay reals through a read and a write.
//
// Reads the XML and binary forms (libplist) and the old text form
// `{ key = "value"; list = ( a, { ... } ); }`; writes the XML form, version 1.0.
class PropertyList
{
public:
    struct ReadResult
    {
        QVariant value; // invalid when the bytes are no property list
        QString error; // why not, for the log
        bool ok() const { return value.isValid(); }
    };

    static ReadResult parse(const QByteArray &bytes);
    static ReadResult readFile(const QString &path);

    // The XML form; empty with `error` set when the value holds something a
    // property list cannot (an invalid QVariant, a map inside a list of
    // unknown type, ...).
    static QByteArray toXml(const QVariant &value, QString *error = nullptr);

    // Writes the XML form through a temporary file that then replaces `path`,
    // so a reader never sees half a file.
    static bool writeXmlFile(const QString &path, const QVariant &value, QString *error = nullptr);

    // Writes `bytes` atomically to `path` (shared by every writer of project files).
    static bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);
};
