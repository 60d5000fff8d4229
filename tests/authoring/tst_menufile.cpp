#include "authoring/KestrinMenu.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The menu file and the menus' paths following the media tree.
class TestMenuFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mFolder;

    QString menuFile() const { return mFolder->filePath(QStringLiteral("Kestrin.menu")); }
    QVariantList storedMenus() const { return PropertyList::readFile(menuFile()).value.toList(); }

    bool writeRaw(const QByteArray& bytes) const
    {
        QFile file(menuFile());
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void aMissingFileGivesNoMenusAndWritesNothing()
    {
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());
        QCOMPARE(menus.count(), 0);
        QVERIFY(!menus.hasCurrentMenu());
        QVERIFY(!QFile::exists(menuFile()));
    }

    void everyChangeIsWrittenAndReadBack()
    {
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());
        menus.newKestrinMenu(QStringLiteral("/movies/a.mov"));
        QVERIFY(menus.setCurrentMenuValue(QStringLiteral("Timeout"), 150.0));
        QVERIFY(menus.setCurrentMenuValue(QStringLiteral("|<<"), QStringLiteral("R/G")));
        const QVariantMap expected { { "Title", "/movies/a.mov" }, { "Timeout", 150.0 }, { "|<<", "R/G" } };
        QCOMPARE(storedMenus(), QVariantList { expected });

        KestrinMenu again;
        again.setupMenus(mFolder->path());
        QCOMPARE(again.count(), 1);
        QCOMPARE(again.currentMenuIndex(), 0);
        QCOMPARE(again.currentMenu(), expected);
        QVERIFY(contents(menuFile()).contains("<real>150"));
    }

    void withoutAMenuNothingIsStored()
    {
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());
        QVERIFY(!menus.setCurrentMenuValue(QStringLiteral("Loop"), 2.0));
        QVERIFY(!menus.removeCurrentMenuValue(QStringLiteral("1")));
        QVERIFY(!QFile::exists(menuFile()));
    }

    void anUnreadableFileIsKeptAsideBeforeItIsOverwritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("menusRead");
        QTest::newRow("no property list") << QByteArray("<plist><array><dict>") << 0;
        QTest::newRow("a dictionary at the root")
            << PropertyList::toXml(QVariantMap { { "Title", "/movies/a.mov" } }) << 0;
        QTest::newRow("a menu that is no dictionary")
            << PropertyList::toXml(QVariantList { QVariantMap { { "Title", "/movies/a.mov" } }, "stray" }) << 1;
    }

    void anUnreadableFileIsKeptAsideBeforeItIsOverwritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, menusRead);
        QVERIFY(writeRaw(bytes));
        KestrinMenu menus;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^readFromFile: "));
        menus.setupMenus(mFolder->path());
        QCOMPARE(menus.count(), menusRead);
        QVERIFY(!QFile::exists(menuFile() + ".bad"));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("kept as .*Kestrin\\.menu\\.bad$"));
        menus.removeAllMenus();
        QCOMPARE(contents(menuFile() + ".bad"), bytes);
        QCOMPARE(PropertyList::readFile(menuFile()).value.typeId(), QMetaType::QVariantList);

        // Kept once: later writes just write.
        menus.newKestrinMenu(QStringLiteral("/movies/a.mov"));
        QVERIFY(!QFile::exists(menuFile() + ".bad-2"));
    }

    void movedPath_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("oldPath");
        QTest::addColumn<QString>("newPath");
        QTest::addColumn<QString>("moved");
        QTest::newRow("the node itself") << "R/Trips"
                                         << "R/Trips"
                                         << "R/Holidays"
                                         << "R/Holidays";
        QTest::newRow("a movie beneath it") << "R/Trips/Users/ann/a.mov"
                                            << "R/Trips"
                                            << "R/Holidays"
                                            << "R/Holidays/Users/ann/a.mov";
        QTest::newRow("a group beneath it") << "R/Trips/Sea/x.mov"
                                            << "R/Trips"
                                            << "R/Holidays"
                                            << "R/Holidays/Sea/x.mov";
        QTest::newRow("a sibling whose name begins alike") << "R/Trips2/Users/ann/b.mov"
                                                           << "R/Trips"
                                                           << "R/Holidays"
                                                           << "R/Trips2/Users/ann/b.mov";
        QTest::newRow("an ancestor") << "R"
                                     << "R/Trips"
                                     << "R/Holidays"
                                     << "R";
        QTest::newRow("without a root name") << "Trips/Users/ann/a.mov"
                                             << "Trips"
                                             << "Holidays"
                                             << "Holidays/Users/ann/a.mov";
        QTest::newRow("moved into another group") << "R/Users/ann/a.mov"
                                                  << "R/Users/ann/a.mov"
                                                  << "R/G/Users/ann/a.mov"
                                                  << "R/G/Users/ann/a.mov";
        QTest::newRow("the node deleted") << "R/Trips"
                                          << "R/Trips"
                                          << ""
                                          << "";
        QTest::newRow("beneath a deleted node") << "R/Trips/Users/ann/a.mov"
                                                << "R/Trips"
                                                << ""
                                                << "";
        QTest::newRow("no old path") << "R/Trips"
                                     << ""
                                     << "R/Holidays"
                                     << "R/Trips";
    }

    void movedPath()
    {
        QFETCH(QString, value);
        QFETCH(QString, oldPath);
        QFETCH(QString, newPath);
        QFETCH(QString, moved);
        QCOMPARE(KestrinMenu::movedPath(value, oldPath, newPath), moved);
    }

    void renamingTripsRewritesEveryPathKeyInTheFile()
    {
        // Every other key points into Trips, the rest into Trips2.
        const QStringList keys = QStringList { "EnableTimeout" } + KestrinMenu::remoteControlKeys();
        const auto intoTrips = [&](const QString& key) { return keys.indexOf(key) % 2 == 0; };
        QVariantMap menu { { "Title", "/Users/ann/a.mov" }, { "Timeout", 750.0 } };
        for (const QString& key : keys)
            menu.insert(key, intoTrips(key) ? "Trips/Users/ann/a.mov" : "Trips2/Users/ann/b.mov");
        QVERIFY(PropertyList::writeXmlFile(menuFile(), QVariantList { menu, menu }));
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());

        menus.fixMenu(QStringLiteral("Trips"), QStringLiteral("Holidays"));
        const QVariantList stored = storedMenus();
        QCOMPARE(stored.size(), 2);
        for (const QVariant& entry : stored) {
            const QVariantMap fixed = entry.toMap();
            for (const QString& key : keys)
                QCOMPARE(fixed.value(key).toString(),
                    intoTrips(key) ? "Holidays/Users/ann/a.mov" : "Trips2/Users/ann/b.mov");
            QCOMPARE(fixed.value("Title"), menu.value("Title"));
            QCOMPARE(fixed.value("Timeout"), menu.value("Timeout"));
        }
        QCOMPARE(menus.menuList(), (QList<QVariantMap> { stored.at(0).toMap(), stored.at(1).toMap() }));
    }

    void deletingAGroupRemovesItAndEverythingBeneath()
    {
        const QVariantMap menu { { "Title", "/Users/ann/a.mov" }, { "1", "R/Trips" },
            { "0", "R/Trips/Users/ann/a.mov" }, { "EnableTimeout", "R/Trips/Sea" }, { "2", "R/Trips2" } };
        QVERIFY(PropertyList::writeXmlFile(menuFile(), QVariantList { menu }));
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());
        menus.fixMenu(QStringLiteral("R/Trips"), QString());
        const QVariantMap expected { { "Title", "/Users/ann/a.mov" }, { "2", "R/Trips2" } };
        QCOMPARE(storedMenus(), QVariantList { expected });
        QCOMPARE(menus.currentMenu(), expected);
    }

    void aChangeThatTouchesNoMenuWritesNothing()
    {
        KestrinMenu menus;
        menus.setupMenus(mFolder->path());
        menus.fixMenu(QStringLiteral("R/Trips"), QStringLiteral("R/Holidays"));
        QVERIFY(!QFile::exists(menuFile()));
    }
};

QTEST_GUILESS_MAIN(TestMenuFile)
#include "tst_menufile.moc"
