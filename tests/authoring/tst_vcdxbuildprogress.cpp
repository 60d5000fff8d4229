#include "authoring/VcdxbuildProgress.h"

#include <QTest>

namespace {

QString scanLine(const char *id, qint64 position, qint64 size)
{
    return QStringLiteral("<progress operation=\"scan\" id=\"%1\" position=\"%2\" size=\"%3\" />")
        .arg(QString::fromLatin1(id))
        .arg(position)
        .arg(size);
}

QString writeLine(qint64 position, qint64 size)
{
    return QStringLiteral("<progress operation=\"write\" position=\"%1\" size=\"%2\" />").arg(position).arg(size);
}

} // namespace

class TestVcdxbuildProgress : public QObject
{
    Q_OBJECT

private slots:
    // Positions start again at 0 for every movie scanned: only growth counts.
    void scanAccumulatesAcrossMovies()
    {
        VcdxbuildProgress progress(2000);
        for (qint64 position : { 0, 500, 1000 })
            QCOMPARE(progress.addLine(scanLine("media_0", position, 1000)), VcdxbuildProgress::LineKind::Scan);
        QCOMPARE(progress.scanPercent(), 50);
        for (qint64 position : { 0, 400 })
            progress.addLine(scanLine("media_1", position, 1000));
        QCOMPARE(progress.scannedBytes(), qint64(1400));
        QCOMPARE(progress.scanPercent(), 70);
    }

    void writeUsesTheFirstLinesSize()
    {
        VcdxbuildProgress progress(0);
        progress.addLine(writeLine(0, 1000));
        progress.addLine(writeLine(500, 4000));
        QCOMPARE(progress.writePercent(), 50);
        // vcdxbuild's last write positions run past the size it announced.
        progress.addLine(writeLine(1072, 1000));
        QCOMPARE(progress.writePercent(), 100);
    }

    void percentOf_data()
    {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("percent");
        QTest::newRow("half") << qint64(500) << qint64(1000) << 50;
        QTest::newRow("hundredths rounded down, capped") << qint64(150) << qint64(199) << 100;
        QTest::newRow("total below 100") << qint64(50) << qint64(99) << 0;
        QTest::newRow("total 0") << qint64(10) << qint64(0) << 0;
        QTest::newRow("size not yet read") << qint64(10) << qint64(-1) << 0;
        QTest::newRow("beyond 2 GB") << qint64(3000000000) << qint64(6000000000) << 50;
    }

    void percentOf()
    {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(int, percent);
        QCOMPARE(VcdxbuildProgress::percentOf(done, total), percent);
    }

    // Recorded from vcdxbuild on a description naming a missing file.
    void errorLinesAreKept()
    {
        VcdxbuildProgress progress(195216);
        const QStringList output {
            scanLine("media_0", 0, 195216),
            scanLine("media_0", 195216, 195216),
            QStringLiteral("<log level=\"information\">scanning mpeg sequence item #0 for scanpoints...</log>"),
            QStringLiteral("<log level=\"error\">could not stat() file `/tmp/p/missing.mpg': No such file or "
                           "directory</log>"),
        };
        QList<VcdxbuildProgress::LineKind> kinds;
        for (const QString &line : output)
            kinds.append(progress.addLine(line));
        QCOMPARE(kinds,
            QList({ VcdxbuildProgress::LineKind::Scan, VcdxbuildProgress::LineKind::Scan,
                VcdxbuildProgress::LineKind::Other, VcdxbuildProgress::LineKind::Error }));
        QCOMPARE(progress.errorLines(),
            QStringList { QStringLiteral("could not stat() file `/tmp/p/missing.mpg': No such file or directory") });
        QCOMPARE(progress.scanPercent(), 100);
    }

    void warningsAndBrokenLinesChangeNothing()
    {
        VcdxbuildProgress progress(1000);
        progress.addLine(scanLine("media_0", 300, 1000));
        QCOMPARE(progress.addLine(QStringLiteral("<log level=\"warning\">mpeg stream shorter than 75 sectors</log>")),
            VcdxbuildProgress::LineKind::Other);
        progress.addLine(QStringLiteral("<progress operation=\"scan\" id=\"media_0\" />"));
        progress.addLine(QStringLiteral("++ WARN: string 'MY MOVIES' fails d-character constraint (pos = 2)"));
        QCOMPARE(progress.scannedBytes(), qint64(300));
        QVERIFY(progress.errorLines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVcdxbuildProgress)
#include "tst_vcdxbuildprogress.moc"
