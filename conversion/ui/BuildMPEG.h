#pragma once

#include "conversion/ConversionReport.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class ConversionFailureSheet;
class DRBurn;
class DRBurnSetupPanel;
class DRSetupPanel;
class ConversionJob;
class ConversionProgressSheet;
class MediaTree;
class QMessageBox;
class QWidget;
class SettingsModel;

// The Convert command: decides which movies of the media tree need
// converting, asks about movies that would share one converted file, runs a
// ConversionJob behind the progress sheet, and reports what could not be
// converted. In the chain convert, build the image and burn, a conversion
// that converted everything hands on to imaging.
class BuildMPEG : public QObject
{
    Q_OBJECT

public:
    BuildMPEG(QWidget *kestrinWindow, SettingsModel *settings, MediaTree *mediaTree, QObject *parent = nullptr);
    ~BuildMPEG() override;

    // Actions.
    void startBuild();
    // The chain convert, build the image and burn: the burn setup is asked
    // for first, then everything runs without further questions.
    void startConvertImageBurn();
    // Shows the burn setup sheet for the chain.
    void startBurn();
    void buildPanelStop();

    // Selects the movies to convert and starts the work; `showNoMovies`
    // shows a sheet when nothing needs converting, otherwise (in the chain)
    // imaging follows at once.
    void startBuild1(bool showNoMovies);

    bool convertImageBurn() const { return mConvertImageBurn; }
    // The burn the user confirmed at the start of the chain; null outside it.
    std::shared_ptr<DRBurn> burnObject() const { return mBurnObject; }
    bool isConverting() const { return mJob != nullptr; }

    // The sheets while they are up (for whoever drives the window).
    ConversionProgressSheet *progressSheet() const;
    QMessageBox *messageSheet() const;
    ConversionFailureSheet *failureSheet() const;
    DRBurnSetupPanel *burnSetupPanel() const;

signals:
    // The preview is to stop before the movies are converted.
    void stopPlaying();
    // The chain goes on to building the image.
    void startImage1(bool showNoMovies);

private slots:
    void sharedBaseSheetDidEnd(int returnCode);
    void buildPanelDone(const ConversionReport &report);
    void buildPanelDidEnd(int returnCode);

private:
    void handleSetupSheet(DRSetupPanel *panel, int returnCode);
    void startConversion(const QStringList &workList);
    void nothingToConvert(bool showNoMovies);
    void showSharedBaseSheet(const QString &text);
    void showFailureSheet(const ConversionReport &report);

    QWidget *mKestrinWindow;
    SettingsModel *mSettings;
    MediaTree *mMP3DataSourceInstance;
    QString mCurrentProjectFolder;
    bool mConvertImageBurn = false;
    std::shared_ptr<DRBurn> mBurnObject;
    QPointer<DRBurnSetupPanel> mBurnSetupPanel;

    // What startBuild1 found, while the shared-base question is up.
    QStringList mPendingWorkList;
    bool mPendingShowNoMovies = false;

    ConversionJob *mJob = nullptr;
    ConversionReport mReport;
    QPointer<ConversionProgressSheet> mMPEGProgressSheet;
    QPointer<QMessageBox> mMessageSheet;
    QPointer<ConversionFailureSheet> mFailureSheet;
};
