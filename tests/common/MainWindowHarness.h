#pragma once

#include <QString>

#include <memory>

class MainWindow;
class MediaTree;
class MyController;
class Preferences;
class SettingsModel;

// Kestrin's main window with the objects main() gives it, woken up but
// without the select-project panel, for tests that drive the window.
class MainWindowHarness
{
public:
    // With a folder, that folder is the open project.
    explicit MainWindowHarness(const QString &projectFolder = QString());
    ~MainWindowHarness();

    SettingsModel *settings() const { return mSettings.get(); }
    Preferences *preferences() const { return mPreferences.get(); }
    MediaTree *tree() const { return mTree.get(); }
    MainWindow *window() const { return mWindow.get(); }
    MyController *controller() const { return mController.get(); }

private:
    std::unique_ptr<SettingsModel> mSettings;
    std::unique_ptr<Preferences> mPreferences;
    std::unique_ptr<MediaTree> mTree;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<MyController> mController;
};
