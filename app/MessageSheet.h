#pragma once

#include <QString>

class QMessageBox;
class QWidget;

// A message sheet: a window-modal warning with an OK button that deletes
// itself once closed. The caller connects its finished() and opens it.
class MessageSheet
{
public:
    // `name` is the sheet's object name, by which tests find it; `details`
    // (a program's output) is shown on request.
    static QMessageBox *make(QWidget *window, const QString &name, const QString &text, const QString &informative,
        const QString &details = {});
};
