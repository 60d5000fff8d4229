#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// How a whole conversion ended: which movies became base.mpg, which could
// not be converted and why, and whether Stop ended it.
struct ConversionReport
{
    struct Failure
    {
        QString movie; // the movie's path
        QString reason; // in words
        QString output; // the last lines the failing program printed, if any
    };

    QStringList converted;
    QList<Failure> failures;
    bool stopped = false;

    // Every movie of the work list was converted.
    bool succeeded() const { return !stopped && failures.isEmpty(); }

    // The failures as text for a person: each movie's name, the reason and
    // the program's last lines.
    QString failureText() const;
};

Q_DECLARE_METATYPE(ConversionReport)
