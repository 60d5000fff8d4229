#include "media/ui/AddMediaPanel.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

AddMediaPanel::AddMediaPanel(QWidget *window)
    : QFileDialog(window, tr("Add Movies"), QDir::homePath())
{
    setObjectName(QStringLiteral("mAddMediaPanel"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    // The platform's own dialogs cannot choose files and folders at once.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({ tr("Movies and folders (*.mov *.avi *.mp4 *.mpg *.mpeg)"), tr("All files (*)") });
    setLabelText(QFileDialog::Accept, tr("Add"));
}

void AddMediaPanel::accept()
{
    const QStringList chosen = selectedFiles();
    const bool allThere = !chosen.isEmpty()
        && std::all_of(chosen.cbegin(), chosen.cend(), [](const QString &path) { return QFileInfo::exists(path); });
    if (allThere)
        QDialog::accept();
    else
        QFileDialog::accept();
}
