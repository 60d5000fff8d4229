#pragma once

#include <memory>

class BuildMPEG;
class DataDiscController;
class ImageController;
class KestrinBurner;
class KestrinMenu;
class KestrinMenuController;
class MainWindow;
class MediaTree;
class MyController;
class Preferences;
class SettingsModel;
class eraser;

// Every long-lived controller of the application and the main window, made
// and wired together in one place, and torn down in the right order. The
// application makes one; tests that drive the whole window make their own.
class KestrinApp
{
public:
    KestrinApp();
    ~KestrinApp();

    std::unique_ptr<SettingsModel> settings;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<MediaTree> mediaTree;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<MyController> controller;
    std::unique_ptr<KestrinMenu> menus;
    std::unique_ptr<KestrinMenuController> menuController;
    std::unique_ptr<ImageController> image;
    std::unique_ptr<KestrinBurner> burner;
    std::unique_ptr<eraser> discEraser;
    std::unique_ptr<BuildMPEG> buildMPEG;
    std::unique_ptr<DataDiscController> dataDisc;
};
