#include "app/KestrinApp.h"

#include "app/MainWindow.h"
#include "app/MyController.h"
#include "authoring/ui/ImageController.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QAction>

KestrinApp::KestrinApp()
    : settings(std::make_unique<SettingsModel>())
    , preferences(std::make_unique<Preferences>(settings.get()))
    , mediaTree(std::make_unique<MediaTree>(settings.get()))
    , window(std::make_unique<MainWindow>(settings.get()))
    , controller(std::make_unique<MyController>(window.get(), settings.get(), preferences.get(), mediaTree.get()))
    , image(std::make_unique<ImageController>(window.get(), mediaTree.get(), settings.get()))
{
    controller->awakeFromNib();
    QObject::connect(window->mBuildImageAction, &QAction::triggered, image.get(), &ImageController::startImage);
}

// The controllers go before the window whose controls they hold.
KestrinApp::~KestrinApp()
{
    image.reset();
    controller.reset();
    window.reset();
}
