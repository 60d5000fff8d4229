#include "platform/PropertyList.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QVariantMap readSettingsFile(const QString &folder)
{
    return PropertyList::readFile(folder + QStringLiteral("/Kestrin.settings")).value.toMap();
}

} // namespace

class TestProjectSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir mFolder;
    SettingsModel *mModel = nullptr;
    Preferences *mPrefs = nullptr;

    QString settingsPath() const { return mFolder.filePath(QStringLiteral("Kestrin.settings")); }

private slots:
    void init()
    {
        QFile::remove(settingsPath());
        mModel = new SettingsModel(this);
        mPrefs = new Preferences(mModel, this);
    }

    void cleanup()
    {
        delete mPrefs;
        delete mModel;
    }

    void missingFileGivesTheDefaults()
    {
        QSignalSpy menus(mPrefs, &Preferences::menusNeedSetup);
        mPrefs->projectSettingsLoad(mFolder.path());

        QVERIFY(mModel->formatSVCD() && !mModel->formatVCD());
        QVERIFY(mModel->formatNTSC() && !mModel->formatPAL());
        QCOMPARE(mModel->bitRate(), 2500);
        QCOMPARE(mModel->quality(), 100.0);
        QCOMPARE(mModel->lightness(), 0.0);
        QVERIFY(!mModel->genericMPEG() && !mModel->framesize() && !mModel->tvSafe() && !mModel->kiosk()
            && !mModel->interlaced());
        QCOMPARE(mModel->author(), QStringLiteral("Unspecified Author"));
        QCOMPARE(mModel->title(), QStringLiteral("VIDEO_CD"));
        QCOMPARE(mModel->menuTab(), 0);
        QCOMPARE(menus.count(), 0);

        const QVariantMap file = readSettingsFile(mFolder.path());
        QCOMPARE(file.size(), 16);
        QCOMPARE(file, Preferences::defaultRecord());
        QCOMPARE(file.value(QStringLiteral("Quality")).typeId(), QMetaType::Double);
        QCOMPARE(file.value(QStringLiteral("Lightness")).typeId(), QMetaType::Double);
        QCOMPARE(file.value(QStringLiteral("BitRate")).typeId(), QMetaType::LongLong);
        QVERIFY(!file.contains(QStringLiteral("Framesize")));
    }

    void fileWithoutMenuTabIsCompletedAndRewritten()
    {
        QVariantMap old = Preferences::defaultRecord();
        old.remove(QStringLiteral("MenuTab"));
        old.insert(QStringLiteral("Lightness"), 12.5);
        old.insert(QStringLiteral("TVSafe"), qlonglong(1));
        old.insert(QStringLiteral("Kiosk"), qlonglong(1));
        QVERIFY(PropertyList::writeXmlFile(settingsPath(), old));

        mPrefs->projectSettingsLoad(mFolder.path());

        QCOMPARE(mModel->lightness(), 0.0);
        QVERIFY(!mModel->tvSafe());
        QVERIFY(!mModel->kiosk());
        const QVariantMap file = readSettingsFile(mFolder.path());
        QCOMPARE(file.value(QStringLiteral("MenuTab")).toLongLong(), 0);
        QCOMPARE(file.value(QStringLiteral("Lightness")).toDouble(), 0.0);
        QCOMPARE(file.value(QStringLiteral("Kiosk")).toLongLong(), 0);
    }

    void fileWithoutQualityGetsTheSvcdBitRateEvenForVcd()
    {
        QVariantMap old = Preferences::defaultRecord();
        old.remove(QStringLiteral("Quality"));
        old.insert(QStringLiteral("FormatVCD"), qlonglong(1));
        old.insert(QStringLiteral("FormatSVCD"), qlonglong(0));
        old.insert(QStringLiteral("BitRate"), qlonglong(1152));
        QVERIFY(PropertyList::writeXmlFile(settingsPath(), old));

        mPrefs->projectSettingsLoad(mFolder.path());

        QCOMPARE(mModel->bitRate(), 2500);
        QCOMPARE(readSettingsFile(mFolder.path()).value(QStringLiteral("Quality")).toDouble(), 100.0);
    }

    void fileLackingOnlyTheFrameSizeIsNotRewritten()
    {
        const QByteArray original = PropertyList::toXml(Preferences::defaultRecord()) + "<!-- mine -->\n";
        writeBytes(settingsPath(), original);

        mPrefs->projectSettingsLoad(mFolder.path());

        QCOMPARE(readBytes(settingsPath()), original);
        QVERIFY(!mModel->framesize());
        QCOMPARE(mModel->framesizeW(), 0);
        QCOMPARE(mModel->framesizeH(), 0);
    }

    void zeroBitRateIsShownAsTheFormatsRate_data()
    {
        QTest::addColumn<int>("vcd");
        QTest::addColumn<int>("shown");
        QTest::newRow("VCD") << 1 << 1152;
        QTest::newRow("SVCD") << 0 << 2500;
    }

    void zeroBitRateIsShownAsTheFormatsRate()
    {
        QFETCH(int, vcd);
        QFETCH(int, shown);
        QVariantMap old = Preferences::defaultRecord();
        old.insert(QStringLiteral("FormatVCD"), qlonglong(vcd));
        old.insert(QStringLiteral("FormatSVCD"), qlonglong(1 - vcd));
        old.insert(QStringLiteral("BitRate"), qlonglong(0));
        QVERIFY(PropertyList::writeXmlFile(settingsPath(), old));

        mPrefs->projectSettingsLoad(mFolder.path());
        QCOMPARE(mModel->bitRate(), shown);
        QCOMPARE(mPrefs->record().value(QStringLiteral("BitRate")).toLongLong(), 0);

        mPrefs->projectSettingsSave(mFolder.path());
        QCOMPARE(readSettingsFile(mFolder.path()).value(QStringLiteral("BitRate")).toLongLong(), shown);
    }

    void unknownKeysSurviveLoadsAndSaves()
    {
        QVariantMap old = Preferences::defaultRecord();
        old.insert(QStringLiteral("FutureKey"), QStringLiteral("kept"));
        old.insert(QStringLiteral("FutureList"), QVariantList { qlonglong(1), 2.5 });
        QVERIFY(PropertyList::writeXmlFile(settingsPath(), old));

        for (int round = 0; round < 3; ++round) {
            mPrefs->projectSettingsLoad(mFolder.path());
            mModel->setValue(QStringLiteral("Title"), QStringLiteral("ROUND %1").arg(round));
            mPrefs->projectSettingsSave(mFolder.path());
        }
        const QVariantMap file = readSettingsFile(mFolder.path());
        QCOMPARE(file.value(QStringLiteral("FutureKey")).toString(), QStringLiteral("kept"));
        QCOMPARE(file.value(QStringLiteral("FutureList")), QVariant(QVariantList { qlonglong(1), 2.5 }));
        QCOMPARE(file.value(QStringLiteral("Title")).toString(), QStringLiteral("ROUND 2"));
    }

    void savedFileReadsBackWithTheSameTypes()
    {
        mPrefs->projectSettingsLoad(mFolder.path());
        mModel->setValue(QStringLiteral("Author"), QString());
        mModel->setValue(QStringLiteral("Quality"), 87.5);
        mModel->setValue(QStringLiteral("Framesize"), qlonglong(1));
        mModel->setValue(QStringLiteral("FramesizeW"), qlonglong(320));
        mPrefs->projectSettingsSave(mFolder.path());

        const QVariantMap file = readSettingsFile(mFolder.path());
        QCOMPARE(file.value(QStringLiteral("Author")).typeId(), QMetaType::QString);
        QCOMPARE(file.value(QStringLiteral("Author")).toString(), QString());
        QCOMPARE(file.value(QStringLiteral("Quality")), QVariant(87.5));
        QCOMPARE(file.value(QStringLiteral("Framesize")), QVariant(qlonglong(1)));
        QCOMPARE(file.value(QStringLiteral("FramesizeW")), QVariant(qlonglong(320)));

        Preferences again(mModel);
        again.projectSettingsLoad(mFolder.path());
        QCOMPARE(again.record(), file);
    }

    void brokenFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray xml = PropertyList::toXml(Preferences::defaultRecord());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << xml.left(xml.size() / 2);
        QTest::newRow("not a property list") << QByteArray("hello, world\n");
        QTest::newRow("root is an array") << PropertyList::toXml(QVariantList { qlonglong(1) });
        QTest::newRow("bit rate is text")
            << PropertyList::toXml(QVariantMap { { QStringLiteral("BitRate"), QStringLiteral("fast") } });
        QTest::newRow("title is a number")
            << PropertyList::toXml(QVariantMap { { QStringLiteral("Title"), qlonglong(5) } });
    }

    void brokenFileIsLeftAlone()
    {
        QFETCH(QByteArray, bytes);
        writeBytes(settingsPath(), bytes);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^projectSettingsLoad: ")));
        mPrefs->projectSettingsLoad(mFolder.path());
        QVERIFY(!mPrefs->hasRecord());
        QCOMPARE(mModel->bitRate(), 2500);
        QCOMPARE(mModel->title(), QString());
        QCOMPARE(mModel->menuTab(), 0);

        mModel->setValue(QStringLiteral("Title"), QStringLiteral("CHANGED"));
        mPrefs->projectSettingsSave(mFolder.path());
        QCOMPARE(readBytes(settingsPath()), bytes);
    }

    void newProjectTakesThePreferencesButKeepsTheOtherControls()
    {
        mModel->setValue(QStringLiteral("GenericMPEG"), qlonglong(1));
        mModel->setValue(QStringLiteral("Interlaced"), qlonglong(1));
        mModel->setValue(QStringLiteral("FramesizeW"), qlonglong(320));
        mPrefs->prefsVCDStored = 1;
        mPrefs->prefsSVCDStored = 0;
        mPrefs->prefsPALFormatStored = 1;
        mPrefs->prefsNTSCFormatStored = 0;
        mPrefs->prefsVCDAuthorStored = QStringLiteral("Ada");
        mPrefs->prefsQualityStored = 60.0;
        mPrefs->prefsKioskStored = 1;

        mPrefs->setProjectDefaults();
        QVERIFY(mPrefs->hasRecord());
        mPrefs->projectSettingsSave(mFolder.path());

        const QVariantMap file = readSettingsFile(mFolder.path());
        QCOMPARE(file.value(QStringLiteral("FormatVCD")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("FormatPAL")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("BitRate")).toLongLong(), 1152);
        QCOMPARE(file.value(QStringLiteral("Author")).toString(), QStringLiteral("Ada"));
        QCOMPARE(file.value(QStringLiteral("Quality")).toDouble(), 60.0);
        QCOMPARE(file.value(QStringLiteral("Kiosk")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("GenericMPEG")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("Interlaced")).toLongLong(), 1);
        QCOMPARE(file.value(QStringLiteral("FramesizeW")).toLongLong(), 320);
    }

    void otherMenuTabAsksForTheMenus()
    {
        QVariantMap old = Preferences::defaultRecord();
        old.insert(QStringLiteral("MenuTab"), qlonglong(1));
        QVERIFY(PropertyList::writeXmlFile(settingsPath(), old));
        QSignalSpy menus(mPrefs, &Preferences::menusNeedSetup);
        mPrefs->projectSettingsLoad(mFolder.path());
        QCOMPARE(mModel->menuTab(), 1);
        QCOMPARE(menus.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProjectSettings)
#include "tst_projectsettings.moc"
