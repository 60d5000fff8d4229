#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads an ISO 9660 image back with isoinfo (Debian package genisoimage):
// the independent check of what a data disc holds.
class IsoInfo
{
public:
    // isoinfo's output for `arguments`, or "isoinfo failed: " and its output.
    static QString run(const QStringList &arguments);
    // The volume description ("isoinfo -d").
    static QString description(const QString &iso);
    // Every path in the Joliet tree, one a line. isoinfo knows no UTF-8:
    // the names are asked for in Latin-1.
    static QString jolietListing(const QString &iso);
    // The bytes of the file at `path`, found by its Rock Ridge name, which
    // holds the UTF-8 bytes as they were given.
    static QByteArray extract(const QString &iso, const QString &path);
};
