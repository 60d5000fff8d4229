#include "app/KestrinApp.h"
#include "app/MainWindow.h"
#include "app/MyController.h"
#include "media/MediaTree.h"
#include "platform/PropertyList.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"
#include "settings/ui/SettingChanges.h"
#include "settings/ui/SettingsPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// Drives the real settings controls offscreen, as a person would.
class TestSettingChanges : public QObject
{
    Q_OBJECT

    QTemporaryDir *mFolder = nullptr;
    std::unique_ptr<KestrinApp> mApp;
    SettingsModel *mSettings = nullptr;
    Preferences *mPreferences = nullptr;
    MediaTree *mTree = nullptr;
    MainWindow *mWindow = nullptr;
    SettingChanges *mChanges = nullptr;

    SettingsPanel *panel() const { return mWindow->mSettingsPanel; }
    QString file(const QString &name) const { return mFolder->filePath(name); }
    bool markerPresent() const { return QFile::exists(file(QStringLiteral("Kestrin.invalidmpegs"))); }
    QVariantMap settingsFile() const
    {
        return PropertyList::readFile(file(QStringLiteral("Kestrin.settings"))).value.toMap();
    }

    void touch(const QString &name)
    {
        QDir().mkpath(QFileInfo(file(name)).path());
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    void openProject(const QVariantMap &record)
    {
        QVERIFY(PropertyList::writeXmlFile(file(QStringLiteral("Kestrin.settings")), record));
        mSettings->setProjectFolder(mFolder->path());
        mPreferences->projectSettingsLoad(mFolder->path());
    }

    // Where a person clicks a check box or radio button: on its box.
    static void clickBox(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    bool sheetIsUp() const { return mChanges->changeMPEGSheet() && mChanges->changeMPEGSheet()->isVisible(); }

    void answerSheet(QMessageBox::StandardButton answer)
    {
        QVERIFY(sheetIsUp());
        QTest::mouseClick(mChanges->changeMPEGSheet()->button(answer), Qt::LeftButton);
        QVERIFY(!sheetIsUp());
    }

    void typeInto(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

private slots:
    void init()
    {
        mFolder = new QTemporaryDir;
        mApp = std::make_unique<KestrinApp>();
        mSettings = mApp->settings.get();
        mPreferences = mApp->preferences.get();
        mTree = mApp->mediaTree.get();
        mWindow = mApp->window.get();
        mChanges = mApp->controller->settingChanges();
        mWindow->show();
        openProject(Preferences::defaultRecord());
    }

    void cleanup()
    {
        mApp.reset();
        delete mFolder;
    }

    void confirmingVcdMakesTheMoviesStaleAndAsksNoMore()
    {
        clickBox(panel()->mVCDFormatRadio);
        QVERIFY(sheetIsUp());
        QVERIFY(panel()->mVCDFormatRadio->isChecked()); // shows the new value while asking
        answerSheet(QMessageBox::Ok);

        QVERIFY(mSettings->formatVCD() && !mSettings->formatSVCD());
        QCOMPARE(panel()->mBitRateField->text(), QStringLiteral("1152"));
        QCOMPARE(mTree->barMaximum(), 74);
        QVERIFY(markerPresent());
        const QVariantMap stored = settingsFile();
        QCOMPARE(stored.value(QStringLiteral("FormatVCD")).toLongLong(), 1);
        QCOMPARE(stored.value(QStringLiteral("FormatSVCD")).toLongLong(), 0);
        QCOMPARE(stored.value(QStringLiteral("BitRate")).toLongLong(), 1152);

        clickBox(panel()->mPALFormatRadio);
        QVERIFY(!sheetIsUp());
        QVERIFY(mSettings->formatPAL() && !mSettings->formatNTSC());
    }

    void cancellingVcdPutsSvcdBack()
    {
        const QVariantMap before = settingsFile();
        clickBox(panel()->mVCDFormatRadio);
        answerSheet(QMessageBox::Cancel);
        QVERIFY(panel()->mSVCDFormatRadio->isChecked());
        QVERIFY(!panel()->mVCDFormatRadio->isChecked());
        QCOMPARE(panel()->mBitRateField->text(), QStringLiteral("2500"));
        QVERIFY(mSettings->formatSVCD());
        QVERIFY(!markerPresent());
        QCOMPARE(settingsFile(), before);
    }

    void everyMPEGSettingAsksAndCancelPutsItBack_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("TV-safe") << "mTVSafeCheckbox";
        QTest::newRow("generic") << "mGenericCheckbox";
        QTest::newRow("interlaced") << "mInterlacedCheckbox";
        QTest::newRow("frame size") << "mFramesizeCheckbox";
        QTest::newRow("NTSC already on") << "mNTSCFormatRadio";
        QTest::newRow("PAL") << "mPALFormatRadio";
    }

    void everyMPEGSettingAsksAndCancelPutsItBack()
    {
        QFETCH(QString, control);
        auto *button = panel()->findChild<QAbstractButton *>(control);
        QVERIFY(button);
        const bool before = button->isChecked();
        clickBox(button);
        answerSheet(QMessageBox::Cancel);
        QCOMPARE(button->isChecked(), before);
        QVERIFY(!markerPresent());
    }

    void slidersAndBitRateAskOncePerChange()
    {
        QTest::keyClick(panel()->mQualitySlider, Qt::Key_Left);
        answerSheet(QMessageBox::Cancel);
        QCOMPARE(panel()->mQualitySlider->value(), 100);

        typeInto(panel()->mBitRateField, QStringLiteral("2000"));
        answerSheet(QMessageBox::Ok);
        QCOMPARE(mSettings->bitRate(), 2000);
        QCOMPARE(settingsFile().value(QStringLiteral("BitRate")).toLongLong(), 2000);
    }

    void withTheMarkerSvcdTakesItsBitRateAtOnceButTheFileWaits()
    {
        QVariantMap vcd = Preferences::defaultRecord();
        vcd.insert(QStringLiteral("FormatVCD"), qlonglong(1));
        vcd.insert(QStringLiteral("FormatSVCD"), qlonglong(0));
        vcd.insert(QStringLiteral("BitRate"), qlonglong(1152));
        openProject(vcd);
        mPreferences->deleteMPEGs();

        clickBox(panel()->mSVCDFormatRadio);
        QVERIFY(!sheetIsUp());
        QCOMPARE(panel()->mBitRateField->text(), QStringLiteral("2500"));
        QCOMPARE(mPreferences->record().value(QStringLiteral("BitRate")).toLongLong(), 2500);
        QCOMPARE(settingsFile().value(QStringLiteral("FormatSVCD")).toLongLong(), 0);
        QCOMPARE(settingsFile().value(QStringLiteral("BitRate")).toLongLong(), 1152);

        mPreferences->projectSettingsSave(mFolder->path());
        QCOMPARE(settingsFile().value(QStringLiteral("FormatSVCD")).toLongLong(), 1);
        QCOMPARE(settingsFile().value(QStringLiteral("BitRate")).toLongLong(), 2500);
    }

    void retypingTheRecordedWidthAsksNothing()
    {
        QVariantMap record = Preferences::defaultRecord();
        record.insert(QStringLiteral("Framesize"), qlonglong(1));
        record.insert(QStringLiteral("FramesizeW"), qlonglong(320));
        record.insert(QStringLiteral("FramesizeH"), qlonglong(240));
        openProject(record);

        typeInto(panel()->mFramesizeWField, QStringLiteral("320"));
        QVERIFY(!sheetIsUp());
        typeInto(panel()->mFramesizeHField, QStringLiteral("200"));
        answerSheet(QMessageBox::Cancel);
        QCOMPARE(panel()->mFramesizeHField->text(), QStringLiteral("240"));
        QVERIFY(panel()->mFramesizeHField->isEnabled());
    }

    void kioskThrowsTheImageAwayWithoutAsking()
    {
        for (const char *name : { "Kestrin_01.img", "Kestrin_02.img", "sub/other.img", "KEEP.IMG", "clip.mpg" })
            touch(QString::fromLatin1(name));
        clickBox(panel()->mKioskCheckbox);
        QVERIFY(!sheetIsUp());
        QVERIFY(mSettings->kiosk());
        QVERIFY(!QFile::exists(file(QStringLiteral("Kestrin_01.img"))));
        QVERIFY(!QFile::exists(file(QStringLiteral("Kestrin_02.img"))));
        QVERIFY(!QFile::exists(file(QStringLiteral("sub/other.img"))));
        QVERIFY(QFile::exists(file(QStringLiteral("KEEP.IMG"))));
        QVERIFY(QFile::exists(file(QStringLiteral("clip.mpg"))));
        QVERIFY(QFile::exists(file(QStringLiteral("Kestrin.invalidimages"))));
        QVERIFY(!markerPresent());
    }

    void titleAndAuthorAskNothing()
    {
        typeInto(panel()->mVCDTitleField, QStringLiteral("SUMMER"));
        typeInto(panel()->mVCDAuthorField, QStringLiteral("Ada"));
        QVERIFY(!sheetIsUp());
        QCOMPARE(mSettings->title(), QStringLiteral("SUMMER"));
        QCOMPARE(mSettings->author(), QStringLiteral("Ada"));
        QVERIFY(!markerPresent());
    }

    void choosingAMenuTabIsStored()
    {
        mWindow->mMenuTabView->addTab(new QWidget, QStringLiteral("Menu"));
        QSignalSpy menus(mChanges, &SettingChanges::menusNeedSetup);
        mWindow->mMenuTabView->setCurrentIndex(1);
        QCOMPARE(menus.count(), 1);
        QCOMPARE(settingsFile().value(QStringLiteral("MenuTab")).toLongLong(), 1);

        // Showing a project selects its tab without storing anything.
        mPreferences->setRecordValue(QStringLiteral("MenuTab"), qlonglong(0));
        mPreferences->projectSettingsShow();
        QCOMPARE(mWindow->mMenuTabView->currentIndex(), 0);
        QCOMPARE(settingsFile().value(QStringLiteral("MenuTab")).toLongLong(), 1);
    }

    void theDrawerOpensAndCloses()
    {
        const bool open = mWindow->mSettingsDrawer->isVisible();
        mChanges->togglePrefsDrawer();
        QCOMPARE(mWindow->mSettingsDrawer->isVisible(), !open);
        mChanges->togglePrefsDrawer();
        QCOMPARE(mWindow->mSettingsDrawer->isVisible(), open);
    }
};

QTEST_MAIN(TestSettingChanges)
#include "tst_settingchanges.moc"
