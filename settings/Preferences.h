#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <optional>

class SettingsModel;

// The project's settings record and its file "Kestrin.settings", and the
// application's own preferences. The record is the stored form of the live
// values in SettingsModel (what the settings panel shows): it is filled from
// the file and shown when a project is opened, and gathered back from the
// live values before it is written.
class Preferences : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kSettingsFileName = "Kestrin.settings";

    explicit Preferences(SettingsModel *settings, QObject *parent = nullptr);

    SettingsModel *settings() const { return mSettings; }

    // Project settings.
    void projectSettingsLoad(const QString &folder);
    void projectSettingsSave(const QString &folder);
    void projectSettingsShow();
    void setProjectDefaults();
    void clearSettings();

    // The MPEG invalidation marker "Kestrin.invalidmpegs" of the open
    // project: present means every converted MPEG file is stale.
    static constexpr const char *kInvalidMPEGsFileName = "Kestrin.invalidmpegs";
    bool getValidMPEGs() const;
    void deleteMPEGs();
    void setValidMPEGs();
    // The same for the project in `folder`, for work that runs without the
    // open project (a conversion's workers, the batch command).
    static bool getValidMPEGs(const QString &folder);
    static void setValidMPEGs(const QString &folder);

    // Sets one key of the record, when there is one.
    void setRecordValue(const QString &key, const QVariant &value);

    bool hasRecord() const { return mProjectSettings.has_value(); }
    QVariantMap record() const { return mProjectSettings.value_or(QVariantMap()); }

    // The settings of a new project, the sixteen keys written for a folder
    // without a settings file.
    static QVariantMap defaultRecord();

    // Application preferences: the defaults a new project starts with and
    // the choice of burning engine, kept in the per-user defaults database.
    void prefsLoad();
    // Factory defaults, then stored at once. `fromButton` is the window's
    // Defaults button, which always resets; otherwise only a first start does.
    void prefsDefaults(bool fromButton);
    // Writes the members to the defaults database and the disk at once.
    void prefsSave();
    // One stored value by key, reals without their fraction; -1 for a key
    // that is not one of the preferences.
    int prefsIntForKey(const QString &key) const;
    void prefsClearAppendibleCheckbox();

    static constexpr int kPreferencesGeneration = 4;

    int prefsNTSCFormatStored = 1;
    int prefsPALFormatStored = 0;
    int prefsVCDStored = 0;
    int prefsSVCDStored = 1;
    QString prefsVCDAuthorStored;
    QString prefsVCDTitleStored = QStringLiteral("VIDEO_CD");
    int prefsBitRateStored = 2500;
    double prefsQualityStored = 100.0;
    double prefsLightnessStored = 0.0;
    int prefsTVSafeStored = 0;
    int prefsKioskStored = 0;
    int prefsAppleDRStored = 1;
    int prefsCdrdaoStored = 0;
    // Data discs: the size warnings (thresholds in megabytes) and whether
    // the disc carries Joliet names and is closed.
    int prefsWarnSpaceCheckStored = 0;
    int prefsWarnSpaceComboStored = 600;
    int prefsWarnMoreCheckStored = 1;
    int prefsWarnMoreComboStored = 700;
    int prefsIncludeJolietStored = 1;
    int prefsInited = 0;

signals:
    // The members changed (loaded or reset): the preferences window shows them again.
    void preferencesChanged();
    // The menu tab shown is not the first: the menus must be set up.
    void menusNeedSetup();

private:
    void setFactoryDefaults();
    void setDataDiscDefaults();
    void loadDataDiscPrefs();

    bool readRecord(const QString &path);
    bool completeRecord();
    void gatherRecord();
    void writeRecord(const QString &folder);

    SettingsModel *mSettings;
    std::optional<QVariantMap> mProjectSettings;
};
