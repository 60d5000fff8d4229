#include "settings/ui/SettingChanges.h"

#include "app/MessageSheet.h"
#include "media/MediaTree.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/SettingsPanel.h"

#include <QDockWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {

// The settings that shape the converted MPEG files.
const QStringList kMPEGSettings { "FormatVCD", "FormatSVCD", "FormatNTSC", "FormatPAL", "Quality", "Lightness",
    "TVSafe", "BitRate", "GenericMPEG", "Framesize", "FramesizeW", "FramesizeH", "Interlaced" };

// The other member of a pair of radio buttons.
QString partnerOf(const QString &key)
{
    static const QHash<QString, QString> partners { { "FormatVCD", "FormatSVCD" }, { "FormatSVCD", "FormatVCD" },
        { "FormatNTSC", "FormatPAL" }, { "FormatPAL", "FormatNTSC" } };
    return partners.value(key);
}

} // namespace

SettingChanges::SettingChanges(SettingsModel *settings, Preferences *preferences, MediaTree *mediaTree,
    SettingsPanel *panel, QTabWidget *menuTabView, QDockWidget *drawer, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mPreferences(preferences)
    , mMediaTree(mediaTree)
    , mPanel(panel)
    , mMenuTabView(menuTabView)
    , mDrawer(drawer)
{
    connect(mPanel, &SettingsPanel::edited, this, &SettingChanges::settingEdited);
    connect(mMenuTabView, &QTabWidget::currentChanged, this, &SettingChanges::tabViewDidSelectTabViewItem);
    // Showing a project's settings selects its menu tab without it counting
    // as the user's choice.
    connect(mSettings, &SettingsModel::valueChanged, this, [this](const QString &key, const QVariant &value) {
        if (key != QLatin1String("MenuTab"))
            return;
        const QSignalBlocker block(mMenuTabView);
        mMenuTabView->setCurrentIndex(int(value.toLongLong()));
    });
}

void SettingChanges::settingEdited(const QString &key, const QVariant &value)
{
    if (key == QLatin1String("Kiosk")) {
        mSettings->setValue(key, value);
        mMediaTree->invalidateImages(mSettings->projectFolder());
        return;
    }
    if (!kMPEGSettings.contains(key)) {
        mSettings->setValue(key, value);
        return;
    }
    // A width or height equal to the recorded one changes nothing.
    if ((key == QLatin1String("FramesizeW") || key == QLatin1String("FramesizeH"))
        && value.toLongLong() == mPreferences->record().value(key).toLongLong()) {
        mSettings->setValue(key, value);
        return;
    }
    if (mPreferences->getValidMPEGs()) {
        mPendingKey = key;
        mPendingValue = value;
        askToMakeMPEGsStale();
        return;
    }
    applyChange(key, value);
}

void SettingChanges::askToMakeMPEGsStale()
{
    mChangeMPEGSheet = MessageSheet::make(mPanel->window(), QStringLiteral("mChangeMPEGSheet"),
        tr("Change how the movies are converted?"),
        tr("The movies converted so far were made with the old setting. After this change they are out of date, "
           "and the next conversion makes all of them again, which can take a while."));
    mChangeMPEGSheet->setIcon(QMessageBox::Question);
    mChangeMPEGSheet->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    mChangeMPEGSheet->setDefaultButton(QMessageBox::Ok);
    connect(mChangeMPEGSheet, &QDialog::finished, this, &SettingChanges::changeMPEGDidEnd);
    mChangeMPEGSheet->open();
}

void SettingChanges::changeMPEGDidEnd(int returnCode)
{
    const QString key = std::exchange(mPendingKey, QString());
    const QVariant value = std::exchange(mPendingValue, QVariant());
    if (returnCode != QMessageBox::Ok) {
        putBack(key);
        return;
    }
    mPreferences->deleteMPEGs();
    applyChange(key, value);
    mPreferences->projectSettingsSave(mSettings->projectFolder());
    if (key == QLatin1String("Framesize"))
        mPreferences->projectSettingsShow();
}

// The change stands: the live value, the partner of a radio button, and the
// bit rate that goes with a disc format.
void SettingChanges::applyChange(const QString &key, const QVariant &value)
{
    mSettings->setValue(key, value);
    const QString partner = partnerOf(key);
    if (!partner.isEmpty())
        mSettings->setValue(partner, qlonglong(value.toLongLong() != 0 ? 0 : 1));
    if (key == QLatin1String("FormatVCD") || key == QLatin1String("FormatSVCD")) {
        const qlonglong bitRate = mSettings->formatVCD() ? 1152 : 2500;
        mSettings->setValue(QStringLiteral("BitRate"), bitRate);
        mPreferences->setRecordValue(QStringLiteral("BitRate"), bitRate);
    }
}

// The control shows the live value again, which the user set last and which
// the converted files were made with.
void SettingChanges::putBack(const QString &key)
{
    mPanel->showValue(key);
    const QString partner = partnerOf(key);
    if (!partner.isEmpty())
        mPanel->showValue(partner);
}

void SettingChanges::tabViewDidSelectTabViewItem(int index)
{
    if (index < 0)
        return;
    mSettings->setValue(QStringLiteral("MenuTab"), qlonglong(index));
    if (mPreferences->hasRecord()) {
        mPreferences->setRecordValue(QStringLiteral("MenuTab"), qlonglong(index));
        mPreferences->projectSettingsSave(mSettings->projectFolder());
    }
    if (index != 0)
        emit menusNeedSetup();
}

void SettingChanges::togglePrefsDrawer()
{
    mDrawer->setVisible(!mDrawer->isVisible());
}
