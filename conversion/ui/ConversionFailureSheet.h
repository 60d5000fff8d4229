#pragma once

#include "conversion/ConversionReport.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// Tells the user which movies could not be converted and why, with the last
// lines the failing program printed.
class ConversionFailureSheet : public QDialog
{
    Q_OBJECT

public:
    ConversionFailureSheet(const ConversionReport &report, QWidget *parent);

    QLabel *mMessageField;
    QPlainTextEdit *mDetailsView;
};
