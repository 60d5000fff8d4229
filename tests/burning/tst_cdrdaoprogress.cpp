#include "burning/CdrdaoBurn.h"
#include "burning/CdrdaoProgress.h"
#include "platform/ToolProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CdrdaoProgress::Step)

char *toString(const BurnProgress &progress)
{
    const QString text = QStringLiteral("%1 percent, %2, \"%3\"")
                             .arg(progress.percent)
                             .arg(progress.indeterminate ? "indeterminate" : "determinate", progress.step);
    return qstrdup(qPrintable(text));
}

// What `cdrdao write` prints, and how a burn reads it: the progress of the
// "Wrote" lines and the verdict of the last complete line.
class TestCdrdaoProgress : public QObject
{
    Q_OBJECT

private slots:
    void wroteLines_data();
    void wroteLines();
    void cancelledStepStays();
    void recordedBurn_data();
    void recordedBurn();

private:
    struct Replay
    {
        QList<BurnProgress> updates;
        DiscJobResult result;
    };
    Replay replay(const QByteArray &recorded);

    QTemporaryDir mFolder;
};

namespace {

// The head of a run of cdrdao 1.2.4 writing a Video CD image.
const QByteArray kHead = "Cdrdao version 1.2.4 - (C) Andreas Mueller <andreas@daneb.de>\n"
                         "/dev/sr0: HL-DT-ST DVDRAM GH24NSD1\tRev: LG00\n"
                         "Using driver: Generic SCSI-3/MMC - Version 2.0 (options 0x0000)\n"
                         "\n"
                         "Starting write at speed 24...\n"
                         "Process can be aborted with QUIT signal (usually CTRL-\\).\n"
                         "Turning BURN-Proof on\n"
                         "Executing power calibration...\n"
                         "Power calibration successful.\n"
                         "Writing track 01 (mode MODE2_RAW/MODE2_RAW)...\n";
// Its progress lines overwrite each other with carriage returns.
const QByteArray kWriting = "Wrote 10 of 400 MB (Buffers 100%  96%).\r"
                            "Writing track 02 (mode MODE2_RAW/MODE2_RAW)...\n"
                            "Wrote 399 of 400 MB (Buffers 100%  98%).\r"
                            "Wrote 400 of 400 MB (Buffers 100%  98%).\r"
                            "Wrote 204800 blocks. Buffer fill min 95%/max 100%.\n"
                            "Flushing cache...\n";
const QByteArray kSuccess = "Writing finished successfully.\n";

BurnProgress writing(int percent)
{
    return { percent, false, QStringLiteral("Writing disc.") };
}

const BurnProgress kPreparing { 0, true, QStringLiteral("Preparing to burn.") };
const BurnProgress kFinishing { 100, true, QStringLiteral("Finishing up.") };

}

TestCdrdaoProgress::Replay TestCdrdaoProgress::replay(const QByteArray &recorded)
{
    const QString path = mFolder.filePath(QStringLiteral("cdrdao-output.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(recorded) != recorded.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    ToolProcess cat(QStringLiteral("cat"), { path });
    const std::atomic_bool stop = false;
    Replay replay;
    replay.result
        = CdrdaoBurn::follow(cat, stop, [&](const BurnProgress &progress) { replay.updates.append(progress); });
    return replay;
}

void TestCdrdaoProgress::wroteLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("determinate");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<CdrdaoProgress::Step>("step");

    using Step = CdrdaoProgress::Step;
    QTest::newRow("nothing written yet") << QStringList { "Starting write at speed 24..." } << 0 << false << qint64(-1)
                                         << Step::Preparing;
    QTest::newRow("percentage truncated")
        << QStringList { "Wrote 10 of 400 MB (Buffers 100%  96%)." } << 2 << true << qint64(400) << Step::Writing;
    QTest::newRow("all written") << QStringList { "Wrote 10 of 400 MB", "Wrote 400 of 400 MB" } << 100 << false
                                 << qint64(400) << Step::Finishing;
    QTest::newRow("total read once") << QStringList { "Wrote 10 of 400 MB", "Wrote 20 of 800 MB" } << 5 << true
                                     << qint64(400) << Step::Writing;
    QTest::newRow("no total yet: looked for again")
        << QStringList { "Wrote 100 blocks.", "Wrote 30 of 300 MB" } << 10 << true << qint64(300) << Step::Writing;
    QTest::newRow("a total of 0") << QStringList { "Wrote 5 of 0 MB" } << 0 << true << qint64(0) << Step::Writing;
    QTest::newRow("blanks and tabs before numbers")
        << QStringList { "Wrote \t 50 of \t 200 MB" } << 25 << true << qint64(200) << Step::Writing;
    QTest::newRow("other lines change nothing")
        << QStringList { "Wrote 10 of 400 MB", "Writing track 02 (mode MODE2_RAW/MODE2_RAW)..." } << 2 << true
        << qint64(400) << Step::Writing;
    QTest::newRow("more than the total") << QStringList { "Wrote 10 of 400 MB", "Wrote 204800 blocks." } << 100 << false
                                         << qint64(400) << Step::Finishing;
}

void TestCdrdaoProgress::wroteLines()
{
    QFETCH(QStringList, lines);
    QFETCH(int, percent);
    QFETCH(bool, determinate);
    QFETCH(qint64, total);
    QFETCH(CdrdaoProgress::Step, step);

    CdrdaoProgress progress;
    for (const QString &line : lines)
        progress.addLine(line);
    QCOMPARE(progress.percent(), percent);
    QCOMPARE(progress.isDeterminate(), determinate);
    QCOMPARE(progress.totalAmount(), total);
    QCOMPARE(progress.step(), step);
    QCOMPARE(progress.lastLine(), lines.last());
}

void TestCdrdaoProgress::cancelledStepStays()
{
    CdrdaoProgress progress;
    progress.addLine(QStringLiteral("Wrote 10 of 400 MB"));
    progress.cancel();
    progress.addLine(QStringLiteral("Wrote 400 of 400 MB"));
    QCOMPARE(progress.step(), CdrdaoProgress::Step::Cancelling);
    QCOMPARE(progress.progress().step, QStringLiteral("Cancelling burn."));
    QVERIFY(!progress.isDeterminate());
    QVERIFY(!progress.finishedSuccessfully());
}

void TestCdrdaoProgress::recordedBurn_data()
{
    QTest::addColumn<QByteArray>("recorded");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<QString>("message");

    QTest::newRow("success") << kHead + kWriting + kSuccess << true << "Writing finished successfully.";
    QTest::newRow("failure after all was written") << kHead + kWriting + "ERROR: Write error while flushing cache.\n"
                                                   << false << "ERROR: Write error while flushing cache.";
    QTest::newRow("success line without its line break")
        << kHead + kWriting + kSuccess.chopped(1) << false << "Flushing cache...";
    QTest::newRow("failure before writing") << kHead.left(kHead.indexOf("/dev/sr0"))
            + "ERROR: Unable to open SCSI device /dev/sr0: No such file or directory.\n"
            + "ERROR: Cannot setup device /dev/sr0.\n"
                                            << false << "ERROR: Cannot setup device /dev/sr0.";
    QTest::newRow("nothing printed") << QByteArray() << false << "cdrdao printed nothing.";
}

void TestCdrdaoProgress::recordedBurn()
{
    QFETCH(QByteArray, recorded);
    QFETCH(bool, succeeded);
    QFETCH(QString, message);

    const Replay burn = replay(recorded);
    QCOMPARE(burn.result.succeeded(), succeeded);
    QCOMPARE(burn.result.message, message);
    QVERIFY(!burn.updates.isEmpty());
    QCOMPARE(burn.updates.first(), kPreparing);
    if (recorded.contains("Wrote ")) {
        // Every stage, in order, each shown once.
        const QList<BurnProgress> expected { kPreparing, writing(2), writing(99), kFinishing };
        QCOMPARE(burn.updates, expected);
    }
}

QTEST_GUILESS_MAIN(TestCdrdaoProgress)
#include "tst_cdrdaoprogress.moc"
