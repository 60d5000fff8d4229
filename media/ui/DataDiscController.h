#pragma once

#include "media/DataDiscLayout.h"
#include "platform/ui/DRBurnProgressPanel.h"

#include <QObject>
#include <QPointer>

#include <memory>

class DRBurnSetupPanel;
class DRFolder;
class DRSetupPanel;
class MP3DataSource;
class MediaTree;
class MyController;
class Preferences;
class QFileDialog;
class QMessageBox;
class QWidget;

// The media tree's data disc commands: burning the media files themselves
// as a data disc (size warnings, burn setup, free-space test, the burn
// progress sheet), and keeping the tree in a compilation file and reading it
// back. Every question and message is a sheet on the window; the main
// controller ignores inserted discs while a burn is being set up.
class DataDiscController : public QObject, public DRBurnProgressPanelDelegate
{
    Q_OBJECT

public:
    DataDiscController(QWidget *window, MP3DataSource *dataSource, Preferences *preferences, MyController *controller,
        QObject *parent = nullptr);
    ~DataDiscController() override;

    // Commands.
    void burnMP3CD();
    void saveMP3CD();
    void loadMP3CD();

    // The sheets and panels while they are up (for whoever drives the window).
    QMessageBox *warningSheet() const { return mWarningSheet; }
    QMessageBox *errorSheet() const { return mErrorSheet; }
    DRBurnSetupPanel *setupPanel() const;
    DRBurnProgressPanel *progressPanel() const { return mProgressPanel; }
    QFileDialog *savePanel() const { return mSavePanel; }
    QFileDialog *openPanel() const { return mOpenPanel; }

    // The disc layout of the latest burn setup and its volume name.
    std::shared_ptr<DRFolder> rootVFolder() const { return mRootVFolder; }
    QString rootFolderName() const { return mRootFolderName; }

    void burnProgressPanelDidFinish(DRBurnProgressPanel *panel) override;

private:
    void burnMP3CD_1();
    void handleNotFullSheet(int returnCode);
    void handleSetupSheet(DRSetupPanel *panel, int returnCode);
    void savePanelDidEnd(int returnCode);
    void openPanelDidEnd(int returnCode);
    void showSizeWarning(DataDiscLayout::SizeWarning warning, qint64 megabytes);
    void showErrorSheet(
        const QString &name, const QString &text, const QString &informative, const QString &details = {});
    static QString endFilePanel(QPointer<QFileDialog> &panel, int returnCode);
    QFileDialog *makeFilePanel(const QString &name, const QString &title, const QString &accessory, int width);
    DataDiscLayout::Thresholds thresholds() const;
    bool includeJoliet() const;
    bool isBusy() const;

    QWidget *mMP3Window;
    MP3DataSource *mDataSource;
    MediaTree *mMediaTree;
    Preferences *mPreferences;
    MyController *mController;
    std::shared_ptr<DRFolder> mRootVFolder;
    QString mRootFolderName;
    qint64 mkBytesUsedValue = 0; // bytes of media files in the compilation
    QPointer<QMessageBox> mWarningSheet;
    QPointer<QMessageBox> mErrorSheet;
    QPointer<DRBurnSetupPanel> mSetupPanel;
    QPointer<DRBurnProgressPanel> mProgressPanel;
    QPointer<QFileDialog> mSavePanel;
    QPointer<QFileDialog> mOpenPanel;
};
