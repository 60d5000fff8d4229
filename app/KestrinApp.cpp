#include "app/KestrinApp.h"

#include "app/MainWindow.h"
#include "app/MyController.h"
#include "authoring/ui/ImageController.h"
#include "burning/ui/KestrinBurner.h"
#include "burning/ui/eraser.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QAction>
#include <QLineEdit>

KestrinApp::KestrinApp()
    : settings(std::make_unique<SettingsModel>())
    , preferences(std::make_unique<Preferences>(settings.get()))
    , mediaTree(std::make_unique<MediaTree>(settings.get()))
    , window(std::make_unique<MainWindow>(settings.get()))
    , controller(std::make_unique<MyController>(window.get(), settings.get(), preferences.get(), mediaTree.get()))
    , image(std::make_unique<ImageController>(window.get(), mediaTree.get(), settings.get()))
    , burner(std::make_unique<KestrinBurner>(window.get(), window->mCurrentProjectField, preferences.get()))
    , discEraser(std::make_unique<eraser>(window.get(), controller.get()))
{
    controller->awakeFromNib();
    QObject::connect(window->mBuildImageAction, &QAction::triggered, image.get(), &ImageController::startImage);
    QObject::connect(window->mBurnAction, &QAction::triggered, burner.get(), &KestrinBurner::startBurn);
    QObject::connect(window->mEraseAction, &QAction::triggered, discEraser.get(), &eraser::eraseCD);
    QObject::connect(window->mEjectDiscAction, &QAction::triggered, burner.get(), &KestrinBurner::ejectCD);
}

// The controllers go before the window whose controls they hold.
KestrinApp::~KestrinApp()
{
    image.reset();
    discEraser.reset();
    burner.reset();
    controller.reset();
    window.reset();
}
