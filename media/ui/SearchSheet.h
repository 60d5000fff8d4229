#pragma once

#include <QDialog>

class QLabel;

// The sheet shown while dropped folders are searched for movies: what is
// going on, the folder being searched and a Cancel button. Cancel, Escape
// and closing the sheet all end it with kCancel; the code that started the
// searches ends it with done(0) when the last one is over.
class SearchSheet : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kCancel = 1;

    // Window-modal on `window`; deletes itself once it has ended.
    explicit SearchSheet(QWidget *window);

    void showFolder(const QString &path);
    void reject() override;

private:
    QLabel *mFolder;
};
