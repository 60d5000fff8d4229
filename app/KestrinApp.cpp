#include "app/KestrinApp.h"

#include "app/MainWindow.h"
#include "app/MoviePreview.h"
#include "app/MyController.h"
#include "authoring/KestrinMenu.h"
#include "authoring/ui/ImageController.h"
#include "authoring/ui/KestrinMenuController.h"
#include "burning/ui/KestrinBurner.h"
#include "burning/ui/eraser.h"
#include "conversion/ui/BuildMPEG.h"
#include "media/MediaTree.h"
#include "media/ui/DataDiscController.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/SettingChanges.h"

#include <QAction>
#include <QLineEdit>

KestrinApp::KestrinApp()
    : settings(std::make_unique<SettingsModel>())
    , preferences(std::make_unique<Preferences>(settings.get()))
    , mediaTree(std::make_unique<MediaTree>(settings.get()))
    , window(std::make_unique<MainWindow>(settings.get()))
    , controller(std::make_unique<MyController>(window.get(), settings.get(), preferences.get(), mediaTree.get()))
    , menus(std::make_unique<KestrinMenu>())
    , menuController(std::make_unique<KestrinMenuController>(menus.get(), window->mMenuPanel, settings.get()))
    , image(std::make_unique<ImageController>(window.get(), mediaTree.get(), settings.get()))
    , burner(std::make_unique<KestrinBurner>(window.get(), window->mCurrentProjectField, preferences.get()))
    , discEraser(std::make_unique<eraser>(window.get(), controller.get()))
    , buildMPEG(std::make_unique<BuildMPEG>(window.get(), settings.get(), mediaTree.get()))
    , dataDisc(std::make_unique<DataDiscController>(
          window.get(), controller->dataSource(), preferences.get(), controller.get()))
{
    controller->awakeFromNib();
    image->setMenus(menus.get());
    KestrinMenuController *menuTab = menuController.get();
    MP3DataSource *dataSource = controller->dataSource();
    menuTab->setSelectedNodes([dataSource] { return dataSource->selectedNodes(); });
    QObject::connect(dataSource, &MP3DataSource::pathChanged, menuTab, &KestrinMenuController::fixMenu);
    QObject::connect(controller.get(), &MyController::projectOpened, menuTab, &KestrinMenuController::setupMenus);
    QObject::connect(preferences.get(), &Preferences::menusNeedSetup, menuTab, &KestrinMenuController::setupMenus);
    QObject::connect(
        controller->settingChanges(), &SettingChanges::menusNeedSetup, menuTab, &KestrinMenuController::setupMenus);
    QObject::connect(window->mBuildImageAction, &QAction::triggered, image.get(), &ImageController::startImage);
    QObject::connect(window->mBurnAction, &QAction::triggered, burner.get(), &KestrinBurner::startBurn);
    QObject::connect(window->mEraseAction, &QAction::triggered, discEraser.get(), &eraser::eraseCD);
    QObject::connect(window->mEjectDiscAction, &QAction::triggered, burner.get(), &KestrinBurner::ejectCD);
    QObject::connect(window->mConvertAction, &QAction::triggered, buildMPEG.get(), &BuildMPEG::startBuild);
    QObject::connect(buildMPEG.get(), &BuildMPEG::stopPlaying, controller->preview(), &MoviePreview::stopPlaying);
    QObject::connect(
        window->mConvertImageBurnAction, &QAction::triggered, buildMPEG.get(), &BuildMPEG::startConvertImageBurn);
    QObject::connect(buildMPEG.get(), &BuildMPEG::startImage1, image.get(), &ImageController::startImageInChain);
    QObject::connect(window->mBurnDataDiscAction, &QAction::triggered, dataDisc.get(), &DataDiscController::burnMP3CD);
    QObject::connect(
        window->mSaveCompilationAction, &QAction::triggered, dataDisc.get(), &DataDiscController::saveMP3CD);
    QObject::connect(
        window->mLoadCompilationAction, &QAction::triggered, dataDisc.get(), &DataDiscController::loadMP3CD);
    QObject::connect(image.get(), &ImageController::burnRequested, burner.get(),
        [this] { burner->burnTheCD(buildMPEG->burnObject()); });
}

// The controllers go before the window whose controls they hold.
KestrinApp::~KestrinApp()
{
    dataDisc.reset();
    buildMPEG.reset();
    image.reset();
    discEraser.reset();
    burner.reset();
    menuController.reset();
    controller.reset();
    window.reset();
}
