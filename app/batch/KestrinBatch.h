#pragma once

#include "authoring/KestrinMenu.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QObject>
#include <QString>

#include <functional>

class BurnJob;
class ConversionJob;
class ImageJob;

// kestrin-batch's work: opens a project folder as the window does (tree,
// settings, menus, defaults where files are missing), then converts, builds
// the image and burns it with the same jobs as the window's commands,
// printing one line per step and per change of a percentage to standard
// error.
class KestrinBatch : public QObject
{
    Q_OBJECT

public:
    enum ExitCode { Succeeded = 0, StepFailed = 1, UsageError = 2, Stopped = 130 };

    explicit KestrinBatch(QObject *parent = nullptr);

    // False, with a message printed, when the folder is no project folder.
    bool openProject(const QString &folder);
    bool convert();
    bool buildImage();
    // Burns the image with the recorder named as BurnTarget takes it.
    bool burn(const QString &recorder);

    // Stop: the running step ends cleanly and no further step starts.
    void stop();
    bool stopRequested() const { return mStopRequested; }

    void print(const QString &line) const;

private:
    void followConversion(ConversionJob &job) const;
    void followImage(ImageJob &job) const;
    void followBurn(BurnJob &job) const;

    SettingsModel mSettings;
    Preferences mPreferences;
    MediaTree mTree;
    KestrinMenu mMenus;
    std::function<void()> mStopCurrentStep;
    bool mStopRequested = false;
};
