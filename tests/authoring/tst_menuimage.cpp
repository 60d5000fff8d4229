#include "authoring/DiscDescription.h"
#include "authoring/ImageJob.h"
#include "authoring/KestrinMenu.h"
#include "common/Fixtures.h"
#include "common/TestProject.h"
#include "common/VcdInfo.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kRoot = QStringLiteral("Movies");
const QString kA = QStringLiteral("/films/A.mov");
const QString kK = QStringLiteral("/films/K.mov");
const QString kL = QStringLiteral("/films/L.mov");

// vcd-info's descriptors by list id: the kind line ("selection list
// descriptor") first, then the lines that describe it.
QMap<int, QStringList> descriptorsById(const QStringList &lines)
{
    static const QRegularExpression start(QStringLiteral("^PSD\\[\\d+\\] \\(LID\\[(\\d+)\\] @\\w+\\): (.*)$"));
    QMap<int, QStringList> descriptors;
    int id = 0;
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = start.match(line);
        if (match.hasMatch()) {
            id = match.captured(1).toInt();
            descriptors[id].append(match.captured(2));
        } else if (id > 0 && !line.isEmpty()) {
            descriptors[id].append(line);
        }
    }
    return descriptors;
}

// The list id that `field` ("timeout", "ofs[0]", "next", ...) of a
// descriptor links to; 0 when it links nowhere.
int link(const QStringList &descriptor, const QString &field)
{
    const QRegularExpression pattern(QRegularExpression::escape(field) + QStringLiteral(": LID\\[(\\d+)\\]"));
    for (const QString &line : descriptor) {
        const QRegularExpressionMatch match = pattern.match(line);
        if (match.hasMatch())
            return match.captured(1).toInt();
    }
    return 0;
}

// Movies: A, G { K, L }
QVariantMap tree()
{
    return TestProject::group(kRoot, { kA, TestProject::group(QStringLiteral("G"), { kK, kL }) });
}

} // namespace

// Menus on a real disc: the description vcdxbuild reads, and the image it
// makes as vcd-info reads it back.
class TestMenuImage : public QObject
{
    Q_OBJECT

    // A project of tree() with the menu tab chosen and the menu `menu`.
    static void makeProject(TestProject &project, KestrinMenu &menus, const QVariantMap &menu)
    {
        project.settings().setValue(QStringLiteral("MenuTab"), qlonglong(1));
        QVERIFY(PropertyList::writeXmlFile(project.file("Kestrin.menu"), QVariantList { menu }));
        menus.setupMenus(project.folder());
    }

private slots:
    void initTestCase() { QVERIFY(!Fixtures::ntscVcdMpg().isEmpty()); }

    void theMenuIsTheDiscsFirstSelection()
    {
        TestProject project(tree());
        KestrinMenu menus;
        makeProject(project, menus, { { "Title", kK }, { "1", kRoot + "/G" } });
        DiscDescription description(project.tree(), project.settings(), &menus);
        const QString text = description.makeXMLText(ImageJob::mediaList(project.tree()));
        QString expected = "\t<pbc>\n"
                           "\t\t<selection id=\"selection_0\">\n"
                           "\t\t<bsn>1</bsn>\n"
                           "\t\t<timeout ref=\"playlist_0_0\"/>\n"
                           "\t\t<wait>-1</wait>\n"
                           "\t\t<loop jump-timing=\"immediate\">1</loop>\n"
                           "\t\t<play-item ref=\"media_1\"/>\n"
                           "\t\t<select ref=\"playlist_1_0\"/>\n";
        for (int digit = 2; digit <= 9; ++digit)
            expected += "\t\t<select ref=\"selection_0\"/>\n";
        expected += "\t\t</selection>\n\t\t<playlist id=\"playlist_0_0\">\n";
        QVERIFY2(text.contains(expected), qPrintable(text));
        QCOMPARE(description.menuCount(), 1);
    }

    void aMenuWhoseMovieLeftTheTreeStopsTheBuildNamingIt()
    {
        TestProject project(tree());
        for (const QString& name : { "A.mpg", "K.mpg", "L.mpg" })
            QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), name));
        KestrinMenu menus;
        makeProject(project, menus, { { "Title", "/films/gone.mov" }, { "1", kRoot + "/G" } });
        ImageJob job(project.tree(), project.settings(), &menus);
        const ImageReport report = job.run(ImageJob::mediaList(project.tree()));
        QVERIFY(!report.succeeded());
        QVERIFY2(report.reason.contains("gone.mov"), qPrintable(report.failureText()));
        QVERIFY(!QFile::exists(project.file("Kestrin.xml")));
        QVERIFY(!QFile::exists(project.file("Kestrin.toc")));
        QVERIFY(QFile::exists(project.file("Kestrin.invalidimages")));
    }

    void buildsAnImageWithTheMenu()
    {
        TestProject project(tree());
        project.setFormatVCD(true);
        for (const QString &name : { "A.mpg", "K.mpg", "L.mpg" })
            QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), name));
        KestrinMenu menus;
        makeProject(project, menus,
            { { "Title", kA }, { "1", kRoot + "/G" }, { "EnableTimeout", kRoot + "/G" + kL }, { "Timeout", 750.0 },
                { "Loop", 2.0 } });

        ImageJob job(project.tree(), project.settings(), &menus);
        const ImageReport report = job.run(ImageJob::mediaList(project.tree()));
        QVERIFY2(report.succeeded(), qPrintable(report.failureText()));
        const VcdInfo info = VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc")));
        QVERIFY2(info.read, qPrintable(info.output));
        QCOMPARE(info.selectionLists, 1);
        QCOMPARE(info.playLists, 5);
        QCOMPARE(info.endLists, 0);

        const QMap<int, QStringList> lists = descriptorsById(info.descriptors);
        // The player starts at the menu, which plays A (the first sequence)
        // nine selects long, waits 10 s, twice over, then goes to G's L.
        const QStringList menu = lists.value(1);
        QCOMPARE(menu.value(0), QStringLiteral("selection list descriptor"));
        QVERIFY2(menu.join('\n').contains("NOS: 9 | BSN: 1"), qPrintable(info.output));
        QVERIFY2(menu.contains("wait: 10 secs | loop: 2 (delayed: no)"), qPrintable(info.output));
        QVERIFY2(menu.contains("play-item: SEQUENCE[0] (0x0002)"), qPrintable(info.output));
        const QStringList timeout = lists.value(link(menu, "timeout"));
        QVERIFY2(timeout.contains("play-item[0]: SEQUENCE[2] (0x0004)"), qPrintable(info.output));
        QCOMPARE(lists.value(link(timeout, "prev")).value(0), QStringLiteral("play list descriptor"));

        // Key 1 starts group G's chain (K, then L); the other digits stay.
        const QStringList group = lists.value(link(menu, "ofs[0]"));
        QVERIFY2(group.contains("play-item[0]: SEQUENCE[1] (0x0003)"), qPrintable(info.output));
        QCOMPARE(link(group, "prev"), 1);
        QCOMPARE(link(group, "next"), link(menu, "timeout"));
        for (int digit = 1; digit < 9; ++digit)
            QCOMPARE(link(menu, QStringLiteral("ofs[%1]").arg(digit)), 1);

        // Every playlist returns to the menu; each chain begins and ends there.
        int chainStarts = 0;
        int chainEnds = 0;
        for (auto list = lists.begin(); list != lists.end(); ++list) {
            if (list.key() == 1)
                continue;
            QCOMPARE(list->value(0), QStringLiteral("play list descriptor"));
            QCOMPARE(link(*list, "return"), 1);
            chainStarts += link(*list, "prev") == 1;
            chainEnds += link(*list, "next") == 1;
        }
        QCOMPARE(chainStarts, 2);
        QCOMPARE(chainEnds, 2);
    }
};

QTEST_GUILESS_MAIN(TestMenuImage)
#include "tst_menuimage.moc"
