#pragma once

#include <QDialog>

class QPushButton;

// The panel that asks for a project at start and whenever choosing one was
// cancelled: New (1), Open (2) or Quit (0).
class SelectProjectPanel : public QDialog
{
    Q_OBJECT

public:
    enum ReturnCode { Quit = 0, New = 1, Open = 2 };

    explicit SelectProjectPanel(QWidget *parent = nullptr);

    QPushButton *mNewButton;
    QPushButton *mOpenButton;
    QPushButton *mQuitButton;

public slots:
    // Escape must not quit Kestrin behind the user's back: only the Quit
    // button does.
    void reject() override { }
};
