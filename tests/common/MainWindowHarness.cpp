#include "common/MainWindowHarness.h"

#include "app/MainWindow.h"
#include "app/MyController.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

MainWindowHarness::MainWindowHarness(const QString &projectFolder)
    : mSettings(std::make_unique<SettingsModel>())
{
    if (!projectFolder.isEmpty())
        mSettings->setProjectFolder(projectFolder);
    mPreferences = std::make_unique<Preferences>(mSettings.get());
    mTree = std::make_unique<MediaTree>(mSettings.get());
    mWindow = std::make_unique<MainWindow>(mSettings.get());
    mController = std::make_unique<MyController>(mWindow.get(), mSettings.get(), mPreferences.get(), mTree.get());
    mController->awakeFromNib();
}

// The controller goes first: it holds on to everything else.
MainWindowHarness::~MainWindowHarness()
{
    mController.reset();
    mWindow.reset();
    mTree.reset();
    mPreferences.reset();
    mSettings.reset();
}
