#include "authoring/DiscDescription.h"
#include "authoring/DiscMenus.h"
#include "common/TestProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

const QString kRoot = QStringLiteral("Movies");
const QString kA = QStringLiteral("/films/A.mov");
const QString kB = QStringLiteral("/films/B.avi");
const QString kK = QStringLiteral("/other/K.mp4");

// Root items A and B, then group G holding K.
QVariantMap treeABGK()
{
    return TestProject::group(kRoot, { kA, kB, TestProject::group(QStringLiteral("G"), { kK }) });
}

QStringList mediaListOf(MediaTree &tree)
{
    QStringList list;
    tree.getMediaFiles(nullptr, list);
    return list;
}

QString makeText(TestProject &project, const DiscMenus *menus = nullptr, DiscDescription **kept = nullptr)
{
    static std::unique_ptr<DiscDescription> description;
    description = std::make_unique<DiscDescription>(project.tree(), project.settings(), menus);
    if (kept)
        *kept = description.get();
    return description->makeXMLText(mediaListOf(project.tree()));
}

// The lines between <playlist id="ID"> and its end.
QStringList playlist(const QString &text, const QString &id)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const qsizetype start = lines.indexOf(QStringLiteral("\t\t<playlist id=\"%1\">").arg(id));
    if (start < 0)
        return {};
    QStringList body;
    for (qsizetype i = start + 1; i < lines.size() && lines.at(i) != QLatin1String("\t\t</playlist>"); ++i)
        body.append(lines.at(i).trimmed());
    return body;
}

// The menu model has its own tests; this one stands in for it to show how
// the description places menus' selections and links the playlists to them.
class MenuStandIn : public DiscMenus
{
public:
    int count() const override { return 1; }
    bool makeXMLSelections(QString &text, const DiscDescription &description, QString *) const override
    {
        // The identifiers are known by the time the selections are written.
        text += QStringLiteral("\t\t<selection id=\"selection_0\"><play-item ref=\"%1\"/><select ref=\"%2\"/>"
                               "</selection>\n")
                    .arg(description.getXMLMediaDictioary().value(kB),
                        description.getXMLPlaylistDictionary().value(kRoot + QStringLiteral("/G")));
        return true;
    }
};

} // namespace

class TestDiscDescription : public QObject
{
    Q_OBJECT

private slots:
    void wholeDocumentOfAVideoCD()
    {
        TestProject project(treeABGK());
        project.setFormatVCD(true);
        project.settings().setValue(QStringLiteral("Title"), QStringLiteral("My Movies"));
        project.settings().setValue(QStringLiteral("Author"), QStringLiteral("Ann"));
        DiscDescription description(project.tree(), project.settings());
        QVERIFY(description.makeXMLFile(mediaListOf(project.tree())));

        const QString links = DiscDescription::linkFolder();
        const QStringList expected {
            QStringLiteral("<?xml version=\"1.0\"?>"),
            QStringLiteral("<!DOCTYPE videocd PUBLIC \"-//GNU//DTD VideoCD//EN\" "
                           "\"http://www.gnu.org/software/vcdimager/videocd.dtd\">"),
            QString(),
            QStringLiteral(
                "<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" class=\"vcd\" version=\"2.0\">"),
            QStringLiteral("\t<option name=\"track pregap\" value=\"152\"/>"),
            QStringLiteral("\t"),
            QStringLiteral("\t<info>"),
            QStringLiteral("\t\t<album-id>MY MOVIES</album-id>"),
            QStringLiteral("\t\t<volume-count>1</volume-count>"),
            QStringLiteral("\t\t<volume-number>1</volume-number>"),
            QStringLiteral("\t\t<restriction>0</restriction>"),
            QStringLiteral("\t</info>"),
            QStringLiteral("\t"),
            QStringLiteral("\t<pvd>"),
            QStringLiteral("\t\t<volume-id>MY MOVIES</volume-id>"),
            QStringLiteral("\t\t<system-id>CD-RTOS CD-BRIDGE</system-id>"),
            QStringLiteral("\t\t<preparer-id/>"),
            QStringLiteral("\t\t<publisher-id>ANN</publisher-id>"),
            QStringLiteral("\t</pvd>"),
            QStringLiteral("\t"),
            QStringLiteral("\t<sequence-items>"),
            QStringLiteral("\t\t<sequence-item src=\"%1/media_0\" id=\"media_0\"/>").arg(links),
            QStringLiteral("\t\t<sequence-item src=\"%1/media_1\" id=\"media_1\"/>").arg(links),
            QStringLiteral("\t\t<sequence-item src=\"%1/media_2\" id=\"media_2\"/>").arg(links),
            QStringLiteral("\t</sequence-items>"),
            QString(),
            QStringLiteral("\t<pbc>"),
            QStringLiteral("\t\t<selection id=\"selection_0\">"),
            QStringLiteral("\t\t\t<default ref=\"playlist_0_0\"/>"),
            QStringLiteral("\t\t\t<play-item/>"),
            QStringLiteral("\t\t\t<select ref=\"playlist_0_0\"/>"),
            QStringLiteral("\t\t</selection>"),
            QStringLiteral("\t\t<playlist id=\"playlist_0_0\">"),
            QStringLiteral("\t\t\t<next    ref=\"playlist_0_1\"/>"),
            QStringLiteral("\t\t\t<return  ref=\"selection_0\"/>"),
            QStringLiteral("\t\t\t<wait>0</wait>"),
            QStringLiteral("\t\t\t<play-item ref=\"media_0\"/>"),
            QStringLiteral("\t\t</playlist>"),
            QStringLiteral("\t\t<playlist id=\"playlist_0_1\">"),
            QStringLiteral("\t\t\t<prev    ref=\"playlist_0_0\"/>"),
            QStringLiteral("\t\t\t<next    ref=\"playlist_0_2\"/>"),
            QStringLiteral("\t\t\t<return  ref=\"selection_0\"/>"),
            QStringLiteral("\t\t\t<wait>0</wait>"),
            QStringLiteral("\t\t\t<play-item ref=\"media_1\"/>"),
            QStringLiteral("\t\t</playlist>"),
            QStringLiteral("\t\t<playlist id=\"playlist_0_2\">"),
            QStringLiteral("\t\t\t<prev    ref=\"playlist_0_1\"/>"),
            QStringLiteral("\t\t\t<next    ref=\"endlist_0\"/>"),
            QStringLiteral("\t\t\t<return  ref=\"selection_0\"/>"),
            QStringLiteral("\t\t\t<wait>0</wait>"),
            QStringLiteral("\t\t\t<play-item ref=\"media_2\"/>"),
            QStringLiteral("\t\t</playlist>"),
            QStringLiteral("\t\t<playlist id=\"playlist_1_0\">"),
            QStringLiteral("\t\t\t<next    ref=\"endlist_0\"/>"),
            QStringLiteral("\t\t\t<return  ref=\"selection_0\"/>"),
            QStringLiteral("\t\t\t<wait>0</wait>"),
            QStringLiteral("\t\t\t<play-item ref=\"media_2\"/>"),
            QStringLiteral("\t\t</playlist>"),
            QStringLiteral("\t\t<endlist id=\"endlist_0\">"),
            QStringLiteral("\t\t</endlist>"),
            QStringLiteral("\t</pbc>"),
            QStringLiteral("</videocd>"),
        };
        QFile file(project.file(QStringLiteral("Kestrin.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')), expected);
    }

    void header_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<QString>("rootTag");
        QTest::newRow("VCD") << true
                             << QStringLiteral("<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" "
                                               "class=\"vcd\" version=\"2.0\">");
        QTest::newRow("SVCD") << false
                              << QStringLiteral("<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" "
                                                "class=\"svcd\" version=\"1.0\">");
    }

    void header()
    {
        QFETCH(bool, vcd);
        QFETCH(QString, rootTag);
        TestProject project(treeABGK());
        project.setFormatVCD(vcd);
        QCOMPARE(makeText(project).split(QLatin1Char('\n')).value(3), rootTag);
    }

    void titleAndAuthorText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("writtenTitle");
        QTest::addColumn<QString>("writtenAuthor");
        QTest::newRow("upper case") << "My Movies"
                                    << "Ann Lee"
                                    << "MY MOVIES"
                                    << "ANN LEE";
        QTest::newRow("reserved characters") << "Tom & Jerry <3"
                                             << "\"Q\" > R"
                                             << "TOM &amp; JERRY &lt;3"
                                             << "&quot;Q&quot; &gt; R";
        QTest::newRow("beyond ASCII") << QStringLiteral("Café Noël") << QStringLiteral("Jürgen")
                                      << QStringLiteral("CAFÉ NOËL") << QStringLiteral("JÜRGEN");
    }

    void titleAndAuthorText()
    {
        QFETCH(QString, title);
        QFETCH(QString, author);
        QFETCH(QString, writtenTitle);
        QFETCH(QString, writtenAuthor);
        TestProject project(treeABGK());
        project.settings().setValue(QStringLiteral("Title"), title);
        project.settings().setValue(QStringLiteral("Author"), author);
        DiscDescription description(project.tree(), project.settings());
        QVERIFY(description.makeXMLFile(mediaListOf(project.tree())));
        QFile file(project.file(QStringLiteral("Kestrin.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("<album-id>" + writtenTitle.toUtf8() + "</album-id>"));
        QVERIFY(bytes.contains("<volume-id>" + writtenTitle.toUtf8() + "</volume-id>"));
        QVERIFY(bytes.contains("<publisher-id>" + writtenAuthor.toUtf8() + "</publisher-id>"));
    }

    void playlistDictionaryOfGroupsAndItems()
    {
        TestProject project(treeABGK());
        DiscDescription *description = nullptr;
        makeText(project, nullptr, &description);
        const QString g = kRoot + QStringLiteral("/G");
        const QHash<QString, QString> expected {
            { kRoot, QStringLiteral("playlist_0_0") },
            { kRoot + kA, QStringLiteral("playlist_0_0") },
            { kRoot + kB, QStringLiteral("playlist_0_1") },
            { kRoot + kK, QStringLiteral("playlist_0_2") },
            { g, QStringLiteral("playlist_1_0") },
            { g + kK, QStringLiteral("playlist_1_0") },
        };
        QCOMPARE(description->getXMLPlaylistDictionary(), expected);
        QCOMPARE(description->getXMLMediaDictioary().value(kK), QStringLiteral("media_2"));
        QCOMPARE(description->menuCount(), 0);
    }

    void firstItemsHaveNoPreviousWithoutMenus()
    {
        TestProject project(treeABGK());
        const QString text = makeText(project);
        for (const char *first : { "playlist_0_0", "playlist_1_0" }) {
            const QStringList body = playlist(text, QString::fromLatin1(first));
            QVERIFY2(!body.isEmpty(), first);
            QVERIFY2(!body.first().startsWith(QLatin1String("<prev")), first);
        }
        QCOMPARE(
            playlist(text, QStringLiteral("playlist_0_2")).first(), QStringLiteral("<prev    ref=\"playlist_0_1\"/>"));
    }

    void kioskSendsLastItemsBackToTheStart()
    {
        TestProject project(treeABGK());
        project.settings().setValue(QStringLiteral("Kiosk"), qlonglong(1));
        const QString text = makeText(project);
        for (const char *last : { "playlist_0_2", "playlist_1_0" })
            QVERIFY2(
                playlist(text, QString::fromLatin1(last)).contains(QStringLiteral("<next    ref=\"selection_0\"/>")),
                last);
        QVERIFY(
            playlist(text, QStringLiteral("playlist_0_0")).contains(QStringLiteral("<next    ref=\"playlist_0_1\"/>")));
        QVERIFY(!text.contains(QStringLiteral("ref=\"endlist_0\"")));
        QVERIFY(text.contains(QStringLiteral("\t\t<endlist id=\"endlist_0\">\n\t\t</endlist>\n\t</pbc>")));
    }

    void sameMovieTwiceHasTwoItemsAndPlaysTheLater()
    {
        TestProject project(TestProject::group(kRoot, { kA, TestProject::group(QStringLiteral("G"), { kA }) }));
        const QString text = makeText(project);
        QVERIFY(text.contains(QStringLiteral("id=\"media_0\"")));
        QVERIFY(text.contains(QStringLiteral("id=\"media_1\"")));
        const QString mpg = QDir(project.folder()).filePath(QStringLiteral("A.mpg"));
        for (const char *link : { "media_0", "media_1" })
            QCOMPARE(QFileInfo(QDir(DiscDescription::linkFolder()).filePath(QString::fromLatin1(link))).symLinkTarget(),
                mpg);
        for (const char *id : { "playlist_0_0", "playlist_0_1", "playlist_1_0" })
            QVERIFY2(
                playlist(text, QString::fromLatin1(id)).contains(QStringLiteral("<play-item ref=\"media_1\"/>")), id);
    }

    // A link of an earlier build must not survive into this one.
    void linksOfAnEarlierBuildAreCleared()
    {
        TestProject project(treeABGK());
        makeText(project);
        const QDir links(DiscDescription::linkFolder());
        QFile stray(links.filePath(QStringLiteral("media_7")));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();
        makeText(project);
        QCOMPARE(links.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
            QStringList({ "media_0", "media_1", "media_2" }));
        QCOMPARE(QFileInfo(links.filePath(QStringLiteral("media_1"))).symLinkTarget(),
            QDir(project.folder()).filePath(QStringLiteral("B.mpg")));
    }

    void emptyGroupIsNamedButWritesNoPlaylist()
    {
        TestProject project(TestProject::group(kRoot, { kA, TestProject::group(QStringLiteral("Empty"), {}) }));
        DiscDescription *description = nullptr;
        const QString text = makeText(project, nullptr, &description);
        QCOMPARE(description->getXMLPlaylistDictionary().value(kRoot + QStringLiteral("/Empty")),
            QStringLiteral("playlist_1_0"));
        QVERIFY(!text.contains(QStringLiteral("playlist_1_0")));
    }

    void menusTakeThePlaceOfTheStartSelection()
    {
        TestProject project(treeABGK());
        project.settings().setValue(QStringLiteral("MenuTab"), qlonglong(1));
        const MenuStandIn menus;
        DiscDescription *description = nullptr;
        const QString text = makeText(project, &menus, &description);
        QCOMPARE(description->menuCount(), 1);
        QVERIFY(!text.contains(QStringLiteral("<default ref=\"playlist_0_0\"/>")));
        QVERIFY(!text.contains(QStringLiteral("endlist")));
        const qsizetype selection = text.indexOf(
            QStringLiteral("<selection id=\"selection_0\"><play-item ref=\"media_1\"/><select ref=\"playlist_1_0\"/>"));
        QVERIFY(selection > 0);
        QVERIFY(selection < text.indexOf(QStringLiteral("<playlist id=")));
        QCOMPARE(
            playlist(text, QStringLiteral("playlist_0_0")).first(), QStringLiteral("<prev    ref=\"selection_0\"/>"));
        QVERIFY(
            playlist(text, QStringLiteral("playlist_1_0")).contains(QStringLiteral("<next    ref=\"selection_0\"/>")));
    }

    void firstMenuTabMeansNoMenus()
    {
        TestProject project(treeABGK());
        const MenuStandIn menus;
        DiscDescription *description = nullptr;
        const QString text = makeText(project, &menus, &description);
        QCOMPARE(description->menuCount(), 0);
        QVERIFY(text.contains(QStringLiteral("<default ref=\"playlist_0_0\"/>")));
        QVERIFY(!text.contains(QStringLiteral("<select ref=\"playlist_1_0\"/>")));
    }
};

QTEST_GUILESS_MAIN(TestDiscDescription)
#include "tst_discdescription.moc"
