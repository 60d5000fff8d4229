#include "settings/Preferences.h"

#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsModel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString unspecifiedAuthor()
{
    return QCoreApplication::translate("Preferences", "Unspecified Author");
}

const QStringList kIntegerKeys { "FormatVCD", "FormatSVCD", "FormatPAL", "FormatNTSC", "BitRate", "GenericMPEG",
    "Framesize", "FramesizeW", "FramesizeH", "TVSafe", "Kiosk", "Interlaced", "MenuTab", "Discrecording", "Cdrdao" };
const QStringList kRealKeys { "Quality", "Lightness" };
const QStringList kTextKeys { "Author", "Title" };

// A record is only taken when every key this program reads has the type it
// expects; anything else is treated like an unreadable file.
QString typeProblem(const QVariantMap &record)
{
    for (auto it = record.cbegin(); it != record.cend(); ++it) {
        const int type = it.value().typeId();
        const bool isInteger = type == QMetaType::LongLong || type == QMetaType::Bool;
        const bool isNumber = isInteger || type == QMetaType::Double;
        if ((kIntegerKeys.contains(it.key()) && !isInteger) || (kRealKeys.contains(it.key()) && !isNumber)
            || (kTextKeys.contains(it.key()) && type != QMetaType::QString))
            return QStringLiteral("\"%1\" holds a value of the wrong type").arg(it.key());
    }
    return {};
}

QString settingsPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromLatin1(Preferences::kSettingsFileName));
}

} // namespace

Preferences::Preferences(SettingsModel *settings, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , prefsVCDAuthorStored(unspecifiedAuthor())
{ }

QVariantMap Preferences::defaultRecord()
{
    return {
        { QStringLiteral("Author"), unspecifiedAuthor() },
        { QStringLiteral("Title"), QStringLiteral("VIDEO_CD") },
        { QStringLiteral("FormatVCD"), qlonglong(0) },
        { QStringLiteral("FormatSVCD"), qlonglong(1) },
        { QStringLiteral("FormatPAL"), qlonglong(0) },
        { QStringLiteral("FormatNTSC"), qlonglong(1) },
        { QStringLiteral("BitRate"), qlonglong(2500) },
        { QStringLiteral("Quality"), 100.0 },
        { QStringLiteral("GenericMPEG"), qlonglong(0) },
        { QStringLiteral("Lightness"), 0.0 },
        { QStringLiteral("TVSafe"), qlonglong(0) },
        { QStringLiteral("Kiosk"), qlonglong(0) },
        { QStringLiteral("Interlaced"), qlonglong(0) },
        { QStringLiteral("MenuTab"), qlonglong(0) },
        { QStringLiteral("Discrecording"), qlonglong(1) },
        { QStringLiteral("Cdrdao"), qlonglong(0) },
    };
}

void Preferences::projectSettingsLoad(const QString &folder)
{
    mProjectSettings.reset();
    const QString path = settingsPath(folder);
    if (!QFileInfo::exists(path)) {
        mProjectSettings = defaultRecord();
        writeRecord(folder);
    } else if (readRecord(path) && completeRecord()) {
        writeRecord(folder);
    }
    projectSettingsShow();
}

bool Preferences::readRecord(const QString &path)
{
    const PropertyList::ReadResult read = PropertyList::readFile(path);
    QString problem = read.error;
    if (read.ok() && read.value.typeId() != QMetaType::QVariantMap)
        problem = QStringLiteral("its root is not a dictionary");
    else if (read.ok())
        problem = typeProblem(read.value.toMap());
    if (!problem.isEmpty()) {
        qWarning("projectSettingsLoad: %s: %s", qPrintable(path), qPrintable(problem));
        return false;
    }
    mProjectSettings = read.value.toMap();
    return true;
}

// Fills in the groups of keys that older files lack. Only a group's first key
// is tested; the rest of the group is set whether or not it is present.
bool Preferences::completeRecord()
{
    QVariantMap &record = *mProjectSettings;
    bool added = false;
    if (!record.contains(QStringLiteral("Quality"))) {
        record.insert(QStringLiteral("BitRate"), qlonglong(2500));
        record.insert(QStringLiteral("Quality"), 100.0);
        added = true;
    }
    if (!record.contains(QStringLiteral("GenericMPEG"))) {
        record.insert(QStringLiteral("GenericMPEG"), qlonglong(0));
        added = true;
    }
    if (!record.contains(QStringLiteral("MenuTab"))) {
        record.insert(QStringLiteral("MenuTab"), qlonglong(0));
        record.insert(QStringLiteral("Lightness"), 0.0);
        record.insert(QStringLiteral("TVSafe"), qlonglong(0));
        record.insert(QStringLiteral("Kiosk"), qlonglong(0));
        added = true;
    }
    if (!record.contains(QStringLiteral("Interlaced"))) {
        record.insert(QStringLiteral("Interlaced"), qlonglong(0));
        record.insert(QStringLiteral("Discrecording"), qlonglong(1));
        record.insert(QStringLiteral("Cdrdao"), qlonglong(0));
        added = true;
    }
    return added;
}

void Preferences::projectSettingsSave(const QString &folder)
{
    if (!mProjectSettings)
        return;
    gatherRecord();
    writeRecord(folder);
}

void Preferences::gatherRecord()
{
    QVariantMap &record = *mProjectSettings;
    const QVariantMap live = mSettings->values();
    for (const char *key : { "Author", "Title" })
        record.insert(QString::fromLatin1(key), live.value(QString::fromLatin1(key)).toString());
    for (const char *key : { "FormatVCD", "FormatSVCD", "FormatPAL", "FormatNTSC", "BitRate" })
        record.insert(QString::fromLatin1(key), live.value(QString::fromLatin1(key)).toLongLong());
    record.insert(QStringLiteral("Quality"), live.value(QStringLiteral("Quality")).toDouble());
    for (const char *key : { "GenericMPEG", "Framesize", "FramesizeW", "FramesizeH" })
        record.insert(QString::fromLatin1(key), live.value(QString::fromLatin1(key)).toLongLong());
    record.insert(QStringLiteral("Lightness"), live.value(QStringLiteral("Lightness")).toDouble());
    for (const char *key : { "TVSafe", "Kiosk", "Interlaced" })
        record.insert(QString::fromLatin1(key), live.value(QString::fromLatin1(key)).toLongLong());
}

void Preferences::writeRecord(const QString &folder)
{
    QString error;
    if (!PropertyList::writeXmlFile(settingsPath(folder), *mProjectSettings, &error))
        qWarning("projectSettingsSave: %s", qPrintable(error));
}

void Preferences::projectSettingsShow()
{
    const QVariantMap record = mProjectSettings.value_or(QVariantMap());
    auto integer = [&](const char *key) { return record.value(QString::fromLatin1(key)).toLongLong(); };
    auto real = [&](const char *key) { return record.value(QString::fromLatin1(key)).toDouble(); };
    auto show = [&](const char *key, const QVariant &value) { mSettings->setValue(QString::fromLatin1(key), value); };

    for (const char *key : { "FormatVCD", "FormatSVCD", "FormatPAL", "FormatNTSC" })
        show(key, integer(key));
    const qlonglong bitRate = integer("BitRate");
    show("BitRate", bitRate != 0 ? bitRate : (integer("FormatVCD") != 0 ? 1152 : 2500));
    show("Author", record.value(QStringLiteral("Author")).toString());
    show("Title", record.value(QStringLiteral("Title")).toString());
    show("Quality", real("Quality"));
    for (const char *key : { "GenericMPEG", "Framesize", "FramesizeW", "FramesizeH" })
        show(key, integer(key));
    show("Lightness", real("Lightness"));
    for (const char *key : { "TVSafe", "Kiosk", "Interlaced" })
        show(key, integer(key));
    const qlonglong menuTab = integer("MenuTab");
    show("MenuTab", menuTab);
    if (menuTab != 0)
        emit menusNeedSetup();
}

void Preferences::setProjectDefaults()
{
    auto show = [&](const char *key, const QVariant &value) { mSettings->setValue(QString::fromLatin1(key), value); };
    show("Author", prefsVCDAuthorStored);
    show("Title", prefsVCDTitleStored);
    show("FormatVCD", qlonglong(prefsVCDStored));
    show("FormatSVCD", qlonglong(prefsSVCDStored));
    show("FormatPAL", qlonglong(prefsPALFormatStored));
    show("FormatNTSC", qlonglong(prefsNTSCFormatStored));
    show("BitRate", qlonglong(prefsVCDStored == 1 ? 1152 : 2500));
    show("Quality", prefsQualityStored);
    show("Lightness", prefsLightnessStored);
    show("TVSafe", qlonglong(prefsTVSafeStored));
    show("Kiosk", qlonglong(prefsKioskStored));
    if (!mProjectSettings)
        mProjectSettings = QVariantMap();
}

void Preferences::clearSettings()
{
    mProjectSettings.reset();
}

void Preferences::prefsLoad()
{
    auto integer = [](const char *key) { return int(UserDefaults::value(QString::fromLatin1(key)).toLongLong()); };
    auto real = [](const char *key) { return UserDefaults::value(QString::fromLatin1(key)).toDouble(); };
    auto text = [](const char *key) { return UserDefaults::value(QString::fromLatin1(key)).toString(); };
    prefsNTSCFormatStored = integer("prefsNTSCFormatStored");
    prefsPALFormatStored = integer("prefsPALFormatStored");
    prefsVCDStored = integer("prefsVCDStored");
    prefsSVCDStored = integer("prefsSVCDStored");
    prefsVCDAuthorStored = text("prefsVCDAuthorStored");
    prefsVCDTitleStored = text("prefsVCDTitleStored");
    prefsBitRateStored = integer("prefsBitRateStored");
    prefsQualityStored = real("prefsQualityStored");
    prefsLightnessStored = real("prefsLightnessStored");
    prefsTVSafeStored = integer("prefsTVSafeStored");
    prefsKioskStored = integer("prefsKioskStored");
    prefsAppleDRStored = integer("prefsAppleDRStored");
    prefsCdrdaoStored = integer("prefsCdrdaoStored");
    prefsInited = integer("prefsInited");
    loadDataDiscPrefs();

    if (prefsAppleDRStored + prefsCdrdaoStored != 1) {
        prefsAppleDRStored = 1;
        prefsCdrdaoStored = 0;
    }
    if (prefsInited == 0)
        prefsDefaults(false);
    else
        emit preferencesChanged();
}

void Preferences::setFactoryDefaults()
{
    prefsNTSCFormatStored = 1;
    prefsPALFormatStored = 0;
    prefsVCDStored = 0;
    prefsSVCDStored = 1;
    prefsVCDAuthorStored = unspecifiedAuthor();
    prefsVCDTitleStored = QStringLiteral("VIDEO_CD");
    prefsBitRateStored = 2500;
    prefsQualityStored = 100.0;
    prefsLightnessStored = 0.0;
    prefsTVSafeStored = 0;
    prefsKioskStored = 0;
    prefsAppleDRStored = 1;
    prefsCdrdaoStored = 0;
    setDataDiscDefaults();
    prefsInited = kPreferencesGeneration;
}

void Preferences::setDataDiscDefaults()
{
    prefsWarnSpaceCheckStored = 0;
    prefsWarnSpaceComboStored = 600;
    prefsWarnMoreCheckStored = 1;
    prefsWarnMoreComboStored = 700;
    prefsIncludeJolietStored = 1;
}

// Preferences stored before data discs had settings lack these keys; each
// one missing keeps its factory value instead of reading as 0.
void Preferences::loadDataDiscPrefs()
{
    setDataDiscDefaults();
    auto load = [](const char *key, int &member) {
        const QVariant value = UserDefaults::value(QString::fromLatin1(key));
        if (value.isValid())
            member = int(value.toLongLong());
    };
    load("prefsWarnSpaceCheckStored", prefsWarnSpaceCheckStored);
    load("prefsWarnSpaceComboStored", prefsWarnSpaceComboStored);
    load("prefsWarnMoreCheckStored", prefsWarnMoreCheckStored);
    load("prefsWarnMoreComboStored", prefsWarnMoreComboStored);
    load("prefsIncludeJolietStored", prefsIncludeJolietStored);
}

void Preferences::prefsDefaults(bool fromButton)
{
    if (fromButton || prefsInited == 0)
        setFactoryDefaults();
    emit preferencesChanged();
    prefsSave();
}

void Preferences::prefsSave()
{
    prefsBitRateStored = 2500;
    UserDefaults::setValues({
        { QStringLiteral("prefsNTSCFormatStored"), prefsNTSCFormatStored },
        { QStringLiteral("prefsPALFormatStored"), prefsPALFormatStored },
        { QStringLiteral("prefsVCDStored"), prefsVCDStored },
        { QStringLiteral("prefsSVCDStored"), prefsSVCDStored },
        { QStringLiteral("prefsVCDAuthorStored"), prefsVCDAuthorStored },
        { QStringLiteral("prefsVCDTitleStored"), prefsVCDTitleStored },
        { QStringLiteral("prefsBitRateStored"), prefsBitRateStored },
        { QStringLiteral("prefsQualityStored"), prefsQualityStored },
        { QStringLiteral("prefsLightnessStored"), prefsLightnessStored },
        { QStringLiteral("prefsTVSafeStored"), prefsTVSafeStored },
        { QStringLiteral("prefsKioskStored"), prefsKioskStored },
        { QStringLiteral("prefsAppleDRStored"), prefsAppleDRStored },
        { QStringLiteral("prefsCdrdaoStored"), prefsCdrdaoStored },
        { QStringLiteral("prefsWarnSpaceCheckStored"), prefsWarnSpaceCheckStored },
        { QStringLiteral("prefsWarnSpaceComboStored"), prefsWarnSpaceComboStored },
        { QStringLiteral("prefsWarnMoreCheckStored"), prefsWarnMoreCheckStored },
        { QStringLiteral("prefsWarnMoreComboStored"), prefsWarnMoreComboStored },
        { QStringLiteral("prefsIncludeJolietStored"), prefsIncludeJolietStored },
        { QStringLiteral("prefsInited"), prefsInited },
    });
}

int Preferences::prefsIntForKey(const QString &key) const
{
    const QList<QPair<const char *, double>> values {
        { "prefsNTSCFormatStored", prefsNTSCFormatStored },
        { "prefsPALFormatStored", prefsPALFormatStored },
        { "prefsVCDStored", prefsVCDStored },
        { "prefsSVCDStored", prefsSVCDStored },
        { "prefsBitRateStored", prefsBitRateStored },
        { "prefsQualityStored", prefsQualityStored },
        { "prefsLightnessStored", prefsLightnessStored },
        { "prefsTVSafeStored", prefsTVSafeStored },
        { "prefsKioskStored", prefsKioskStored },
        { "prefsAppleDRStored", prefsAppleDRStored },
        { "prefsCdrdaoStored", prefsCdrdaoStored },
        { "prefsWarnSpaceCheckStored", prefsWarnSpaceCheckStored },
        { "prefsWarnSpaceComboStored", prefsWarnSpaceComboStored },
        { "prefsWarnMoreCheckStored", prefsWarnMoreCheckStored },
        { "prefsWarnMoreComboStored", prefsWarnMoreComboStored },
        { "prefsIncludeJolietStored", prefsIncludeJolietStored },
    };
    for (const auto &[name, value] : values)
        if (key == QLatin1String(name))
            return int(value); // drops the fraction
    return -1;
}

void Preferences::prefsClearAppendibleCheckbox()
{
    UserDefaults::setValue(QStringLiteral("DRBurnOptionsAppendable"), false);
}

bool Preferences::getValidMPEGs() const
{
    return getValidMPEGs(mSettings->projectFolder());
}

bool Preferences::getValidMPEGs(const QString &folder)
{
    return folder.isEmpty() || !QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(kInvalidMPEGsFileName)));
}

void Preferences::deleteMPEGs()
{
    if (mSettings->projectFolder().isEmpty())
        return;
    QFile marker(mSettings->projectFile(QString::fromLatin1(kInvalidMPEGsFileName)));
    // Opening for appending creates the file or leaves its content; the
    // explicit time is for a marker that existed already.
    if (marker.open(QIODevice::Append))
        marker.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
}

void Preferences::setValidMPEGs()
{
    setValidMPEGs(mSettings->projectFolder());
}

void Preferences::setValidMPEGs(const QString &folder)
{
    if (!folder.isEmpty())
        QFile::remove(QDir(folder).filePath(QString::fromLatin1(kInvalidMPEGsFileName)));
}

void Preferences::setRecordValue(const QString &key, const QVariant &value)
{
    if (mProjectSettings)
        mProjectSettings->insert(key, value);
}
