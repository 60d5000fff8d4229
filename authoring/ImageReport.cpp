#include "authoring/ImageReport.h"

QString ImageReport::failureText() const
{
    QStringList parts { reason };
    if (!errorLines.isEmpty())
        parts += errorLines.join(QLatin1Char('\n'));
    else if (!output.isEmpty())
        parts += output;
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
}
