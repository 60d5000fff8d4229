#pragma once

#include <QMetaType>
#include <QString>

// How a burn or an erase ended, with the reason in words for the user.
struct DiscJobResult {
    enum class Outcome { Succeeded, Failed, Stopped };

    Outcome outcome = Outcome::Failed;
    QString message;

    bool succeeded() const { return outcome == Outcome::Succeeded; }

    static DiscJobResult success(const QString& message = {}) { return { Outcome::Succeeded, message }; }
    static DiscJobResult failure(const QString& message) { return { Outcome::Failed, message }; }
    static DiscJobResult stopped(const QString& message) { return { Outcome::Stopped, message }; }
};

Q_DECLARE_METATYPE(DiscJobResult)
