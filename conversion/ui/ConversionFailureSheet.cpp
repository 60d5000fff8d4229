#include "conversion/ui/ConversionFailureSheet.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

ConversionFailureSheet::ConversionFailureSheet(const ConversionReport &report, QWidget *parent)
    : QDialog(parent)
    , mMessageField(new QLabel(this))
    , mDetailsView(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Movies Not Converted"));
    setWindowModality(Qt::WindowModal);

    QStringList names;
    for (const ConversionReport::Failure &failure : report.failures)
        names << QFileInfo(failure.movie).fileName();
    mMessageField->setText(tr("These movies could not be converted, so they cannot go on the disc yet: %1.\n"
                              "The others were converted. Convert again once the reasons below are dealt with.")
                               .arg(names.join(QStringLiteral(", "))));
    mMessageField->setWordWrap(true);

    mDetailsView->setReadOnly(true);
    mDetailsView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    mDetailsView->setPlainText(report.failureText());
    mDetailsView->setMinimumSize(520, 200);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mMessageField);
    layout->addWidget(mDetailsView);
    layout->addWidget(buttons);
}
