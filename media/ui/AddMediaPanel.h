#pragma once

#include <QFileDialog>

// The add command's file panel, from the home folder: movies and folders,
// several at once. Open with a folder chosen takes the folder instead of
// going into it; a double click still goes into it.
class AddMediaPanel : public QFileDialog
{
    Q_OBJECT

public:
    // Window-modal on `window`; deletes itself once it has ended.
    explicit AddMediaPanel(QWidget *window);

    void accept() override;
};
