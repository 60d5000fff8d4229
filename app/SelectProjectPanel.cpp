#include "app/SelectProjectPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SelectProjectPanel::SelectProjectPanel(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("mSelectProjectPanel"));
    setWindowTitle(tr("Choose a Project"));
    setWindowModality(Qt::WindowModal);

    auto *text = new QLabel(tr("<b>Kestrin keeps each disc in a project folder.</b><br>"
                               "Create a new project folder, or open one you made before."));
    text->setWordWrap(true);
    mNewButton = new QPushButton(tr("&New…"));
    mNewButton->setToolTip(tr("Create a new project folder"));
    mOpenButton = new QPushButton(tr("&Open…"));
    mOpenButton->setToolTip(tr("Open a folder that holds a Kestrin project"));
    mQuitButton = new QPushButton(tr("&Quit"));
    mOpenButton->setDefault(true);
    connect(mNewButton, &QPushButton::clicked, this, [this] { done(New); });
    connect(mOpenButton, &QPushButton::clicked, this, [this] { done(Open); });
    connect(mQuitButton, &QPushButton::clicked, this, [this] { done(Quit); });

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mQuitButton);
    buttons->addStretch();
    buttons->addWidget(mNewButton);
    buttons->addWidget(mOpenButton);
    auto *layout = new QVBoxLayout(this);
    // Wide enough for the text to read as two lines, not a narrow column.
    setMinimumWidth(440);
    layout->setSpacing(12);
    layout->addWidget(text);
    layout->addLayout(buttons);
}
