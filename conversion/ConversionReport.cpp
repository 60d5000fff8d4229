#include "conversion/ConversionReport.h"

#include <QFileInfo>

QString ConversionReport::failureText() const
{
    QStringList parts;
    for (const Failure &failure : failures) {
        QString part = QFileInfo(failure.movie).fileName() + QStringLiteral(": ") + failure.reason;
        if (!failure.output.isEmpty())
            part += QLatin1Char('\n') + failure.output;
        parts << part;
    }
    return parts.join(QStringLiteral("\n\n"));
}
