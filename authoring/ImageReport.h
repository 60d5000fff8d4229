#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

// How one disc image build ended. It succeeded only when vcdxbuild ended
// well, printed no error and left the table of contents.
struct ImageReport
{
    enum class Outcome { Succeeded, Stopped, Failed };

    Outcome outcome = Outcome::Failed;
    QString reason; // in words, when it failed
    QStringList errorLines; // what vcdxbuild reported as errors
    QString output; // vcdxbuild's last lines

    bool succeeded() const { return outcome == Outcome::Succeeded; }
    bool stopped() const { return outcome == Outcome::Stopped; }

    // The reason and the error lines (or, without any, the last lines
    // vcdxbuild printed), for a person.
    QString failureText() const;
};

Q_DECLARE_METATYPE(ImageReport)
