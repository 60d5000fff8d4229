#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/PreferencesWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

// Runs against the private configuration folder that the test run gives
// this program (XDG_CONFIG_HOME), so the user's own preferences are never touched.
class TestPreferences : public QObject
{
    Q_OBJECT

    QVariantMap storedFile() { return PropertyList::readFile(UserDefaults::filePath()).value.toMap(); }

    void store(const QVariantMap &values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            UserDefaults::setValue(it.key(), it.value());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(UserDefaults::filePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    }

    void init() { QFile::remove(UserDefaults::filePath()); }

    void firstStartStoresTheFactoryDefaults()
    {
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsLoad();

        const QVariantMap file = storedFile();
        QCOMPARE(file.value(QStringLiteral("prefsInited")).toLongLong(), 4);
        QCOMPARE(file.value(QStringLiteral("prefsSVCDStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsNTSCFormatStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsVCDTitleStored")).toString(), QStringLiteral("VIDEO_CD"));
        QCOMPARE(file.value(QStringLiteral("prefsVCDAuthorStored")).toString(), QStringLiteral("Unspecified Author"));
        QCOMPARE(file.value(QStringLiteral("prefsQualityStored")).typeId(), QMetaType::Double);
        QCOMPARE(file.value(QStringLiteral("prefsQualityStored")).toDouble(), 100.0);
        QCOMPARE(file.value(QStringLiteral("prefsAppleDRStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsCdrdaoStored")).toLongLong(), 0);
        QCOMPARE(file.value(QStringLiteral("prefsWarnSpaceCheckStored")).toLongLong(), 0);
        QCOMPARE(file.value(QStringLiteral("prefsWarnSpaceComboStored")).toLongLong(), 600);
        QCOMPARE(file.value(QStringLiteral("prefsWarnMoreCheckStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsWarnMoreComboStored")).toLongLong(), 700);
        QCOMPARE(file.value(QStringLiteral("prefsIncludeJolietStored")).toLongLong(), 1);
        QCOMPARE(file.size(), 19);

        PreferencesWindow window(&prefs);
        QVERIFY(window.prefsDefaultSVCDRadio->isChecked());
        QCOMPARE(window.prefsDefaultQualitySlider->value(), 100);
    }

    void brokenEngineChoiceLoadsWithDiscRecording_data()
    {
        QTest::addColumn<int>("appleDR");
        QTest::addColumn<int>("cdrdao");
        QTest::newRow("both on") << 1 << 1;
        QTest::newRow("both off") << 0 << 0;
    }

    void brokenEngineChoiceLoadsWithDiscRecording()
    {
        QFETCH(int, appleDR);
        QFETCH(int, cdrdao);
        store({ { "prefsInited", 4 }, { "prefsAppleDRStored", appleDR }, { "prefsCdrdaoStored", cdrdao } });
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsLoad();
        QCOMPARE(prefs.prefsAppleDRStored, 1);
        QCOMPARE(prefs.prefsCdrdaoStored, 0);
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsCdrdaoStored")), 0);
    }

    void laterGenerationsAreLoadedAsStored()
    {
        store({ { "prefsInited", 2 }, { "prefsQualityStored", 42.0 }, { "prefsCdrdaoStored", 1 } });
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsLoad();
        QCOMPARE(prefs.prefsInited, 2);
        QCOMPARE(prefs.prefsQualityStored, 42.0);
        QCOMPARE(prefs.prefsCdrdaoStored, 1);
        QCOMPARE(prefs.prefsVCDTitleStored, QString());
    }

    void intForKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("quality drops its fraction") << "prefsQualityStored" << 99;
        QTest::newRow("lightness") << "prefsLightnessStored" << 7;
        QTest::newRow("bit rate") << "prefsBitRateStored" << 2500;
        QTest::newRow("PAL") << "prefsPALFormatStored" << 1;
        QTest::newRow("not a preference") << "prefsAutoEjectStored" << -1;
        QTest::newRow("misspelled") << "prefsQualitystored" << -1;
        QTest::newRow("data disc warning below, off") << "prefsWarnSpaceCheckStored" << 0;
        QTest::newRow("data disc threshold below") << "prefsWarnSpaceComboStored" << 600;
        QTest::newRow("data disc warning above, on") << "prefsWarnMoreCheckStored" << 1;
        QTest::newRow("data disc threshold above") << "prefsWarnMoreComboStored" << 700;
        QTest::newRow("Joliet") << "prefsIncludeJolietStored" << 1;
    }

    void intForKey()
    {
        QFETCH(QString, key);
        QFETCH(int, expected);
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsQualityStored = 99.9;
        prefs.prefsLightnessStored = 7.8;
        prefs.prefsPALFormatStored = 1;
        QCOMPARE(prefs.prefsIntForKey(key), expected);
    }

    void windowSaveRevertAndDefaults()
    {
        store({ { "prefsInited", 4 }, { "prefsBitRateStored", 1152 }, { "prefsVCDAuthorStored", "Ada" } });
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsLoad();
        PreferencesWindow window(&prefs);
        window.prefsOpen();
        QVERIFY(!window.prefsRevertButton->isEnabled());

        // An edit that is closed away without Save is forgotten.
        QTest::keyClicks(window.prefsDefaultVCDAuthorField, QStringLiteral(" Lovelace"));
        QVERIFY(window.prefsRevertButton->isEnabled());
        window.close();
        window.prefsOpen();
        QCOMPARE(window.prefsDefaultVCDAuthorField->text(), QStringLiteral("Ada"));
        QCOMPARE(storedFile().value(QStringLiteral("prefsVCDAuthorStored")).toString(), QStringLiteral("Ada"));

        // Save stores the window, and always 2500 as the bit rate.
        QTest::keyClicks(window.prefsDefaultVCDAuthorField, QStringLiteral(" B."));
        window.prefsDefaultKioskCheckbox->click();
        QTest::mouseClick(window.prefsSaveButton, Qt::LeftButton);
        QVERIFY(!window.prefsRevertButton->isEnabled());
        QVariantMap file = storedFile();
        QCOMPARE(file.value(QStringLiteral("prefsVCDAuthorStored")).toString(), QStringLiteral("Ada B."));
        QCOMPARE(file.value(QStringLiteral("prefsKioskStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsBitRateStored")).toLongLong(), 2500);

        // Defaults stores at once, without Save.
        QTest::mouseClick(window.prefsDefaultsButton, Qt::LeftButton);
        file = storedFile();
        QCOMPARE(file.value(QStringLiteral("prefsVCDAuthorStored")).toString(), QStringLiteral("Unspecified Author"));
        QCOMPARE(file.value(QStringLiteral("prefsKioskStored")).toLongLong(), 0);
        QCOMPARE(window.prefsDefaultVCDAuthorField->text(), QStringLiteral("Unspecified Author"));
    }

    void dataDiscPrefsMissingFromOlderPreferencesTakeTheirDefaults()
    {
        // Stored before data discs had settings: only one of their keys.
        store({ { "prefsInited", 4 }, { "prefsWarnMoreComboStored", 650 } });
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsLoad();
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsWarnMoreComboStored")), 650);
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsWarnMoreCheckStored")), 1);
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsIncludeJolietStored")), 1);
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsWarnSpaceComboStored")), 600);
    }

    void dataDiscPrefsAreEditedAndStoredInTheWindow()
    {
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsDefaults(true);
        PreferencesWindow window(&prefs);
        window.prefsOpen();
        QVERIFY(!window.prefsWarnSpaceCheckbox->isChecked());
        QVERIFY(window.prefsWarnMoreCheckbox->isChecked());
        QVERIFY(window.prefsIncludeJolietCheckbox->isChecked());
        QCOMPARE(window.prefsWarnMoreCombo->value(), 700);

        window.prefsWarnSpaceCheckbox->click();
        window.prefsWarnSpaceCombo->setValue(550);
        window.prefsIncludeJolietCheckbox->click();
        QVERIFY(window.prefsRevertButton->isEnabled());
        QTest::mouseClick(window.prefsSaveButton, Qt::LeftButton);
        const QVariantMap file = storedFile();
        QCOMPARE(file.value(QStringLiteral("prefsWarnSpaceCheckStored")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("prefsWarnSpaceComboStored")).toLongLong(), 550);
        QCOMPARE(file.value(QStringLiteral("prefsIncludeJolietStored")).toLongLong(), 0);
        QCOMPARE(prefs.prefsIntForKey(QStringLiteral("prefsWarnSpaceComboStored")), 550);

        Preferences reloaded(&model);
        reloaded.prefsLoad();
        QCOMPARE(reloaded.prefsIntForKey(QStringLiteral("prefsWarnSpaceCheckStored")), 1);
        QCOMPARE(reloaded.prefsIntForKey(QStringLiteral("prefsIncludeJolietStored")), 0);
    }

    void clearingTheAppendableChoiceIsStored()
    {
        UserDefaults::setValue(QStringLiteral("DRBurnOptionsAppendable"), true);
        SettingsModel model;
        Preferences prefs(&model);
        prefs.prefsClearAppendibleCheckbox();
        QCOMPARE(storedFile().value(QStringLiteral("DRBurnOptionsAppendable")), QVariant(false));
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
