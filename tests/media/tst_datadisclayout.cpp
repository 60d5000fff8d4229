#include "media/DataDiscLayout.h"
#include "media/SimpleTreeNode.h"
#include "platform/DRFile.h"
#include "platform/DRFolder.h"
#include "platform/DRMSF.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(DataDiscLayout::SizeWarning)

namespace {

QVariantMap group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

bool writeFileOfSize(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

// The disc tree as lines "folder/", "file <- source", indented by depth.
void describe(const DRFSObject &object, int depth, QStringList &lines)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    if (const auto *file = dynamic_cast<const DRFile *>(&object)) {
        lines << indent + file->name() + QStringLiteral(" <- ") + file->sourcePath();
        return;
    }
    lines << indent + object.name() + QLatin1Char('/');
    for (const auto &child : static_cast<const DRFolder &>(object).children())
        describe(*child, depth + 1, lines);
}

} // namespace

// The arithmetic and the disc layout of a data disc made from the media tree.
class TestDataDiscLayout : public QObject
{
    Q_OBJECT

private slots:
    void megabytesRoundDown_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("megabytes");
        QTest::newRow("one below three times 2^20") << qint64(3 * (1 << 20) - 1) << qint64(2);
        QTest::newRow("three times 2^20") << qint64(3 * (1 << 20)) << qint64(3);
        QTest::newRow("nothing") << qint64(0) << qint64(0);
        QTest::newRow("beyond 32 bits") << (qint64(5000) << 20) + 7 << qint64(5000);
    }

    void megabytesRoundDown()
    {
        QFETCH(qint64, bytes);
        QFETCH(qint64, megabytes);
        QCOMPARE(DataDiscLayout::megabytes(bytes), megabytes);
    }

    void sizeWarnings_data()
    {
        using Warning = DataDiscLayout::SizeWarning;
        QTest::addColumn<bool>("warnSpace");
        QTest::addColumn<bool>("warnMore");
        QTest::addColumn<qint64>("megabytes");
        QTest::addColumn<Warning>("warning");
        // Thresholds 600 and 700 throughout.
        QTest::newRow("below the first, warning on") << true << true << qint64(599) << Warning::NotEnoughMusic;
        QTest::newRow("at the first") << true << true << qint64(600) << Warning::None;
        QTest::newRow("below the first, warning off") << false << true << qint64(10) << Warning::None;
        QTest::newRow("at the second") << true << true << qint64(700) << Warning::None;
        QTest::newRow("above the second") << true << true << qint64(701) << Warning::TooMuchMusic;
        QTest::newRow("above the second, warning off") << true << false << qint64(900) << Warning::None;
        QTest::newRow("factory settings, small disc") << false << true << qint64(2) << Warning::None;
    }

    void sizeWarnings()
    {
        QFETCH(bool, warnSpace);
        QFETCH(bool, warnMore);
        QFETCH(qint64, megabytes);
        QFETCH(DataDiscLayout::SizeWarning, warning);
        const DataDiscLayout::Thresholds thresholds { warnSpace, 600, warnMore, 700 };
        QCOMPARE(DataDiscLayout::sizeWarning(megabytes, thresholds), warning);
    }

    void bothThresholdsCrossedWarnsOfTooLittle()
    {
        // A user who set the "more" threshold below the "space" one.
        const DataDiscLayout::Thresholds crossed { true, 700, true, 600 };
        QCOMPARE(DataDiscLayout::sizeWarning(650, crossed), DataDiscLayout::SizeWarning::NotEnoughMusic);
    }

    void freeSpace_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("frames");
        QTest::addColumn<quint64>("blocks");
        QTest::newRow("0:01:10 is all lead-in") << 0 << 1 << 10 << quint64(0);
        QTest::newRow("0:01:74 is all lead-in") << 0 << 1 << 74 << quint64(0);
        QTest::newRow("0:02:00") << 0 << 2 << 0 << quint64(0);
        QTest::newRow("0:02:01") << 0 << 2 << 1 << quint64(1);
        QTest::newRow("10:00:00") << 10 << 0 << 0 << quint64(600 * 75 - 150);
        QTest::newRow("an empty 80-minute disc") << 80 << 0 << 0 << quint64(80 * 60 * 75 - 150);
    }

    void freeSpace()
    {
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, frames);
        QFETCH(quint64, blocks);
        QCOMPARE(DataDiscLayout::freeBlocks(DRMSF(minutes, seconds, frames)), blocks);
    }

    void fitsOnMedia_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<quint64>("freeBlocks");
        QTest::addColumn<bool>("fits");
        const quint64 tenMinutes = 600 * 75 - 150;
        QTest::newRow("one byte on a full disc") << qint64(1) << quint64(0) << false;
        QTest::newRow("nothing on a full disc") << qint64(0) << quint64(0) << true;
        QTest::newRow("exactly ten minutes") << qint64(tenMinutes * 2048) << tenMinutes << true;
        QTest::newRow("a byte more than ten minutes") << qint64(tenMinutes * 2048 + 1) << tenMinutes << false;
    }

    void fitsOnMedia()
    {
        QFETCH(qint64, bytes);
        QFETCH(quint64, freeBlocks);
        QFETCH(bool, fits);
        QCOMPARE(DataDiscLayout::fitsOnMedia(bytes, freeBlocks), fits);
    }

    void volumeNameIsPaddedWithoutSeparators_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("name");
        QTest::newRow("early in the year, early in the day")
            << QDateTime(QDate(2024, 2, 1), QTime(7, 8, 9)) << "Sonabel CD 2024032070809";
        QTest::newRow("the last day of a leap year")
            << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)) << "Sonabel CD 2024366235959";
        QTest::newRow("New Year's midnight")
            << QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0)) << "Sonabel CD 2025001000000";
    }

    void volumeNameIsPaddedWithoutSeparators()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, name);
        QCOMPARE(DataDiscLayout::volumeName(when), name);
    }

    void sizeIsTheMediaFilesBytes()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.mov"));
        const QString b = dir.filePath(QStringLiteral("b.mpg"));
        QVERIFY(writeFileOfSize(a, 3 * (1 << 20) - 1000));
        QVERIFY(writeFileOfSize(b, 999));
        const auto tree = SimpleTreeNode::treeFromDictionary(group(QStringLiteral("Media"),
            { a, group(dir.path(), { b, dir.filePath(QStringLiteral("gone.mov")) }), QStringLiteral("New Leaf") }));
        const qint64 bytes = DataDiscLayout::compilationBytes(tree.get());
        QCOMPARE(bytes, qint64(3 * (1 << 20) - 1));
        QCOMPARE(DataDiscLayout::megabytes(bytes), qint64(2));
    }

    void groupsBecomeFoldersNamedByTheirLastComponent()
    {
        const auto tree = SimpleTreeNode::treeFromDictionary(group(QStringLiteral("Media"),
            { QStringLiteral("/Users/ann/Movies/trip.mov"),
                group(QStringLiteral("/Users/ann/Movies/Holiday 2023/"),
                    { QStringLiteral("/Users/ann/Movies/Holiday 2023/beach.mpg"),
                        group(QStringLiteral("Evenings"), {}) }),
                QStringLiteral("/Volumes/CD/last.avi") }));
        const auto root = DataDiscLayout::rootFolder(tree.get(), QStringLiteral("Sonabel CD 2024032070809"));
        QStringList lines;
        describe(*root, 0, lines);
        const QStringList expected {
            QStringLiteral("Sonabel CD 2024032070809/"),
            QStringLiteral("  Media/"),
            QStringLiteral("    trip.mov <- /Users/ann/Movies/trip.mov"),
            QStringLiteral("    Holiday 2023/"),
            QStringLiteral("      beach.mpg <- /Users/ann/Movies/Holiday 2023/beach.mpg"),
            QStringLiteral("      Evenings/"),
            QStringLiteral("    last.avi <- /Volumes/CD/last.avi"),
        };
        QCOMPARE(lines, expected);
    }
};

QTEST_GUILESS_MAIN(TestDataDiscLayout)
#include "tst_datadisclayout.moc"
