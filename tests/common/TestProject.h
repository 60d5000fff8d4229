#pragma once

#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QTemporaryDir>
#include <QVariantList>
#include <QVariantMap>

// A project folder in a temporary folder, opened as the window opens one:
// its tree file read into a media tree, its settings (the defaults of a new
// project unless changed) in a live settings model.
class TestProject
{
public:
    // A tree dictionary: {"Group": name, "Entries": entries}; an entry is a
    // movie path or another group.
    static QVariantMap group(const QString &name, const QVariantList &entries);

    explicit TestProject(const QVariantMap &tree);

    bool isValid() const { return mFolder.isValid(); }
    QString folder() const { return mFolder.path(); }
    QString file(const QString &name) const { return mFolder.filePath(name); }

    MediaTree &tree() { return mTree; }
    SettingsModel &settings() { return mSettings; }
    Preferences &preferences() { return mPreferences; }
    // VCD or SVCD, keeping the pair of radio buttons complementary.
    void setFormatVCD(bool vcd);
    // Writes the live settings to the folder's "Kestrin.settings".
    void saveSettings() { mPreferences.projectSettingsSave(folder()); }

    // Copies `mpegFile` into the folder as `name` (a movie's base.mpg).
    bool addFile(const QString &mpegFile, const QString &name);

private:
    QTemporaryDir mFolder;
    SettingsModel mSettings;
    Preferences mPreferences;
    MediaTree mTree;
};
