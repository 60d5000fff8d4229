#include "app/MessageSheet.h"

#include <QMessageBox>

QMessageBox *MessageSheet::make(
    QWidget *window, const QString &name, const QString &text, const QString &informative, const QString &details)
{
    auto *sheet = new QMessageBox(window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setObjectName(name);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setIcon(QMessageBox::Warning);
    sheet->setText(text);
    sheet->setInformativeText(informative);
    if (!details.isEmpty())
        sheet->setDetailedText(details);
    sheet->setStandardButtons(QMessageBox::Ok);
    return sheet;
}
