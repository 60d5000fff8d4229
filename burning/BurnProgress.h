#pragma once

#include <QMetaType>
#include <QString>

// Where a burn stands, as the burn sheet, the batch command and tests show
// it: a whole percentage, or an indeterminate bar while the engine cannot
// say how far it is (before the first figures, while the disc is finished),
// and the current step in words.
struct BurnProgress
{
    int percent = 0;
    bool indeterminate = true;
    QString step;

    bool operator==(const BurnProgress &other) const = default;
};

Q_DECLARE_METATYPE(BurnProgress)
