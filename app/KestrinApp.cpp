#include "app/KestrinApp.h"

#include "app/MainWindow.h"
#include "app/MyController.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

KestrinApp::KestrinApp()
    : settings(std::make_unique<SettingsModel>())
    , preferences(std::make_unique<Preferences>(settings.get()))
    , mediaTree(std::make_unique<MediaTree>(settings.get()))
    , window(std::make_unique<MainWindow>(settings.get()))
    , controller(std::make_unique<MyController>(window.get(), settings.get(), preferences.get(), mediaTree.get()))
{
    controller->awakeFromNib();
}

// The controllers go before the window whose controls they hold.
KestrinApp::~KestrinApp()
{
    controller.reset();
    window.reset();
}
