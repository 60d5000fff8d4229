#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QVariant>

class MediaTree;
class Preferences;
class QDockWidget;

class QTabWidget;
class SettingsModel;
class SettingsPanel;

// What a change of a project setting does. A setting that shapes the
// converted MPEG files asks first while they count as valid; a confirmed
// change marks them all stale, a refused one puts the control back. The kiosk
// box throws the disc image away instead; the title and author just change.
class SettingChanges : public QObject
{
    Q_OBJECT

public:
    SettingChanges(SettingsModel *settings, Preferences *preferences, MediaTree *mediaTree, SettingsPanel *panel,
        QTabWidget *menuTabView, QDockWidget *drawer, QObject *parent = nullptr);

    // The confirmation sheet while it is up.
    QMessageBox *changeMPEGSheet() const { return mChangeMPEGSheet; }

    void togglePrefsDrawer();
    void tabViewDidSelectTabViewItem(int index);

signals:
    // A menu tab other than the first was chosen.
    void menusNeedSetup();

private slots:
    void settingEdited(const QString &key, const QVariant &value);
    void changeMPEGDidEnd(int returnCode);

private:
    bool asksFirst(const QString &key, const QVariant &value) const;
    void applyChange(const QString &key, const QVariant &value);
    void putBack(const QString &key);
    void askToMakeMPEGsStale();

    SettingsModel *mSettings;
    Preferences *mPreferences;
    MediaTree *mMediaTree;
    SettingsPanel *mPanel;
    QTabWidget *mMenuTabView;
    QDockWidget *mDrawer;
    QPointer<QMessageBox> mChangeMPEGSheet;
    QString mPendingKey;
    QVariant mPendingValue;
};
