#include "authoring/KestrinMenu.h"
#include "platform/PropertyList.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Dictionary = QHash<QString, QString>;

namespace {

// The identifiers a disc description gives a tree R holding the movie
// /m/a.mov and the group G holding /m/b.mov.
Dictionary mediaDictionary()
{
    return { { "/m/a.mov", "media_0" }, { "/m/b.mov", "media_1" } };
}

Dictionary playlistDictionary()
{
    return { { "R", "playlist_0_0" }, { "R/m/a.mov", "playlist_0_0" }, { "R/m/b.mov", "playlist_0_1" },
        { "R/G", "playlist_1_0" }, { "R/G/m/b.mov", "playlist_1_0" } };
}

QString lines(const QStringList& list)
{
    QString text;
    for (const QString& line : list)
        text += "\t\t" + line + "\n";
    return text;
}

} // namespace

// The selection elements that the menus add to the disc description.
class TestMenuSelections : public QObject {
    Q_OBJECT

    QTemporaryDir mFolder;

    // The selections of `menus`, stored and read back as the project's menus.
    QString selections(const QVariantList& menus, const Dictionary& media = mediaDictionary(),
        const Dictionary& playlists = playlistDictionary())
    {
        [&] { QVERIFY(PropertyList::writeXmlFile(mFolder.filePath("Kestrin.menu"), menus)); }();
        KestrinMenu model;
        model.setupMenus(mFolder.path());
        QString text = QStringLiteral("before\n");
        QString error;
        [&] { QVERIFY2(model.makeXMLSelections(text, media, playlists, &error), qPrintable(error)); }();
        [&] { QVERIFY(text.startsWith("before\n")); }();
        return text.mid(7);
    }

    // The one line of `text` that holds `element`, or all of them joined.
    static QString linesWith(const QString& text, const QString& element)
    {
        QStringList found;
        for (const QString& line : text.split('\n'))
            if (line.contains(element))
                found << line;
        return found.join('\n');
    }

private slots:
    void oneMenuPlayingTheSecondMovieWithDigitOneBoundToGroupG()
    {
        const QString text = selections({ QVariantMap { { "Title", "/m/b.mov" }, { "1", "R/G" } } });
        QStringList expected { "<selection id=\"selection_0\">", "<bsn>1</bsn>", "<timeout ref=\"playlist_0_0\"/>",
            "<wait>-1</wait>", "<loop jump-timing=\"immediate\">1</loop>", "<play-item ref=\"media_1\"/>",
            "<select ref=\"playlist_1_0\"/>" };
        for (int digit = 2; digit <= 9; ++digit)
            expected << "<select ref=\"selection_0\"/>";
        expected << "</selection>";
        QCOMPARE(text, lines(expected));
    }

    void timeoutTargetWaitAndLoop_data()
    {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<QString>("expected");
        const QString fixed = lines(
            { "<timeout ref=\"playlist_0_0\"/>", "<wait>-1</wait>", "<loop jump-timing=\"immediate\">1</loop>" });
        QTest::newRow("750 waits 10") << QVariantMap { { "EnableTimeout", "R/G" }, { "Timeout", 750.0 },
            { "Loop", 3.0 } }
                                      << lines({ "<timeout ref=\"playlist_1_0\"/>", "<wait>10</wait>",
                                             "<loop jump-timing=\"immediate\">3</loop>" });
        QTest::newRow("74 waits 0") << QVariantMap {
            { "EnableTimeout", "R/G" }, { "Timeout", 74.0 }
        } << lines({ "<timeout ref=\"playlist_1_0\"/>", "<wait>0</wait>", "<loop jump-timing=\"immediate\">0</loop>" });
        QTest::newRow("fractions cut off") << QVariantMap {
            { "EnableTimeout", "R/m/a.mov" }, { "Timeout", 224.9 }, { "Loop", 2.7 }
        } << lines({ "<timeout ref=\"playlist_0_0\"/>", "<wait>2</wait>", "<loop jump-timing=\"immediate\">2</loop>" });
        QTest::newRow("a target that has gone") << QVariantMap { { "EnableTimeout", "R/Gone" },
            { "Timeout", 150.0 } } << lines({ "<wait>2</wait>", "<loop jump-timing=\"immediate\">0</loop>" });
        QTest::newRow("no target, whatever the steppers say")
            << QVariantMap { { "Timeout", 750.0 }, { "Loop", 3.0 } } << fixed;
        QTest::newRow("nothing set") << QVariantMap {} << fixed;
    }

    void timeoutTargetWaitAndLoop()
    {
        QFETCH(QVariantMap, settings);
        QFETCH(QString, expected);
        settings.insert("Title", "/m/a.mov");
        const QString text = selections({ settings });
        const int from = text.indexOf("<bsn>1</bsn>\n") + 13;
        const int to = text.indexOf("\t\t<play-item");
        QCOMPARE(text.mid(from, to - from), expected);
    }

    void navigationKeysResolveThroughMoviesThenPlaylists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("ref");
        QTest::newRow("a top-level movie under a root without a name") << "/m/a.mov"
                                                                       << "media_0";
        QTest::newRow("a group") << "R/G"
                                 << "playlist_1_0";
        QTest::newRow("a movie in a group") << "R/G/m/b.mov"
                                            << "playlist_1_0";
        QTest::newRow("a node that has gone") << "R/Gone"
                                              << "";
    }

    void navigationKeysResolveThroughMoviesThenPlaylists()
    {
        QFETCH(QString, path);
        QFETCH(QString, ref);
        const QString text
            = selections({ QVariantMap { { "Title", "/m/a.mov" }, { "|<<", path }, { ">", path }, { ">>|", path } } });
        const QString attribute = "ref=\"" + ref + "\"/>";
        QCOMPARE(linesWith(text, "<prev"), ref.isEmpty() ? QString() : "\t\t<prev " + attribute);
        QCOMPARE(linesWith(text, "<next"), ref.isEmpty() ? QString() : "\t\t<next " + attribute);
        QCOMPARE(linesWith(text, "<default"), ref.isEmpty() ? QString() : "\t\t<default " + attribute);
        // They come, in that order, between bsn and the timeout.
        if (!ref.isEmpty())
            QVERIFY(QRegularExpression("<bsn>1</bsn>\n\t\t<prev [^\n]*\n\t\t<next [^\n]*\n\t\t<default [^\n]*\n"
                                       "\t\t<timeout ")
                        .match(text)
                        .hasMatch());
    }

    void digitsResolveThroughPlaylistsOnlyAndStayInTheirMenuOtherwise()
    {
        const QVariantMap first { { "Title", "/m/a.mov" }, { "2", "R/G" }, { "3", "R/Gone" }, { "4", "/m/a.mov" },
            { "5", "R/m/b.mov" }, { "0", "R/G" } };
        const QVariantMap second { { "Title", "/m/b.mov" }, { "9", "R" } };
        const QString text = selections({ first, second });
        QCOMPARE(text.count("<selection id="), 2);
        const QString secondMenu = text.mid(text.indexOf("<selection id=\"selection_1\">"));
        const QString firstMenu = text.left(text.indexOf("\t\t<selection id=\"selection_1\">"));
        QCOMPARE(linesWith(firstMenu, "<select "),
            lines(
                { "<select ref=\"selection_0\"/>", "<select ref=\"playlist_1_0\"/>", "<select ref=\"selection_0\"/>",
                    "<select ref=\"selection_0\"/>", "<select ref=\"playlist_0_1\"/>", "<select ref=\"selection_0\"/>",
                    "<select ref=\"selection_0\"/>", "<select ref=\"selection_0\"/>", "<select ref=\"selection_0\"/>" })
                .chopped(1));
        QCOMPARE(secondMenu.count("<select ref=\"selection_1\"/>"), 8);
        QVERIFY(secondMenu.contains("<select ref=\"playlist_0_0\"/>\n\t\t</selection>\n"));
        QVERIFY(secondMenu.contains("<play-item ref=\"media_1\"/>"));
    }

    void aMenuWhoseMovieIsNotOnTheDiscStopsWithItsName_data()
    {
        QTest::addColumn<QVariantMap>("menu");
        QTest::addColumn<QString>("named");
        QTest::newRow("a movie taken off the disc") << QVariantMap { { "Title", "/m/gone.mov" } } << "gone.mov";
        QTest::newRow("a group") << QVariantMap { { "Title", "R/G" } } << "G";
        QTest::newRow("no movie at all") << QVariantMap { { "1", "R/G" } } << "menu 2";
    }

    void aMenuWhoseMovieIsNotOnTheDiscStopsWithItsName()
    {
        QFETCH(QVariantMap, menu);
        QFETCH(QString, named);
        QVERIFY(PropertyList::writeXmlFile(
            mFolder.filePath("Kestrin.menu"), QVariantList { QVariantMap { { "Title", "/m/a.mov" } }, menu }));
        KestrinMenu model;
        model.setupMenus(mFolder.path());
        QString text = QStringLiteral("before\n");
        QString error;
        QVERIFY(!model.makeXMLSelections(text, mediaDictionary(), playlistDictionary(), &error));
        QCOMPARE(text, QStringLiteral("before\n"));
        QVERIFY2(error.contains(named), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestMenuSelections)
#include "tst_menuselections.moc"
