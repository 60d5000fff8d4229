#include "media/ui/SearchSheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

SearchSheet::SearchSheet(QWidget *window)
    : QDialog(window)
    , mFolder(new QLabel)
{
    setObjectName(QStringLiteral("mSearchSheet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Searching for files"));

    auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(tr("Searching for files").toHtmlEscaped()));
    auto *message = new QLabel(tr("If you selected a deep directory, this may take a long time and slow down other "
                                  "tasks your computer is performing.  To stop the search, click the cancel button."));
    message->setWordWrap(true);
    auto *busy = new QProgressBar;
    busy->setRange(0, 0);
    mFolder->setTextFormat(Qt::PlainText);
    mFolder->setMinimumWidth(360);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &SearchSheet::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addWidget(busy);
    layout->addWidget(mFolder);
    layout->addWidget(buttons);
}

void SearchSheet::showFolder(const QString &path)
{
    mFolder->setText(fontMetrics().elidedText(path, Qt::ElideMiddle, mFolder->width()));
}

void SearchSheet::reject()
{
    done(kCancel);
}
