#include "common/Fixtures.h"
#include "common/TestProject.h"
#include "common/VcdInfo.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString kRoot = QStringLiteral("Movies");

struct BatchRun
{
    int exitCode = -1;
    QString messages; // what it printed to standard error
};

BatchRun runBatch(const QStringList &arguments)
{
    QProcess batch;
    batch.start(QStringLiteral(KESTRIN_BIN_DIR "/kestrin-batch"), arguments);
    BatchRun run;
    if (!batch.waitForFinished(300000)) {
        batch.kill();
        batch.waitForFinished();
        return run;
    }
    run.exitCode = batch.exitStatus() == QProcess::NormalExit ? batch.exitCode() : -1;
    run.messages = QString::fromUtf8(batch.readAllStandardError());
    return run;
}

} // namespace

// Runs the real kestrin-batch program on real project folders.
class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void imageOfAConvertedProject()
    {
        const QString a = QStringLiteral("/films/A.mov");
        const QString k = QStringLiteral("/films/K.mov");
        TestProject project(TestProject::group(kRoot, { a, TestProject::group(QStringLiteral("G"), { k }) }));
        project.setFormatVCD(true);
        project.settings().setValue(QStringLiteral("Title"), QStringLiteral("Batch Disc"));
        project.saveSettings();
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("K.mpg")));

        const BatchRun run = runBatch({ QStringLiteral("--image"), project.folder() });
        QVERIFY2(run.exitCode == 0, qPrintable(run.messages));
        QVERIFY(run.messages.contains(QStringLiteral("image: Scanning the movies\n")));
        QVERIFY(run.messages.contains(QStringLiteral("image: writing 100%\n")));
        const VcdInfo info = VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc")));
        QVERIFY2(info.read, qPrintable(info.output));
        QCOMPARE(info.id, QStringLiteral("VIDEO_CD"));
        QCOMPARE(info.albumId, QStringLiteral("BATCH DISC"));
        QCOMPARE(info.playLists, 3);
        QCOMPARE(info.chainStarts, 2);
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
    }

    void imageWithTheProjectsMenu()
    {
        const QString a = QStringLiteral("/films/A.mov");
        TestProject project(TestProject::group(kRoot, { a, TestProject::group(QStringLiteral("G"), { a }) }));
        project.setFormatVCD(true);
        project.preferences().setRecordValue(QStringLiteral("MenuTab"), qlonglong(1));
        project.saveSettings();
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("copy.mpg")));
        const QVariantMap menu { { QStringLiteral("Title"), a },
            { QStringLiteral("1"), kRoot + QStringLiteral("/G") } };
        QVERIFY(PropertyList::writeXmlFile(project.file(QStringLiteral("Kestrin.menu")), QVariantList { menu }));

        const BatchRun run = runBatch({ QStringLiteral("--image"), project.folder() });
        QVERIFY2(run.exitCode == 0, qPrintable(run.messages));
        QVERIFY(run.messages.contains(QStringLiteral("menus on the disc: 1\n")));
        const VcdInfo info = VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc")));
        QVERIFY2(info.read, qPrintable(info.output));
        QCOMPARE(info.selectionLists, 1);
        QCOMPARE(info.endLists, 0);
    }

    void imageRefused_data()
    {
        QTest::addColumn<QVariantList>("movies");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("not converted") << QVariantList { QStringLiteral("/films/A.mov") } << 1
                                       << "image failed: the movies must be converted first";
        QTest::newRow("no movies") << QVariantList {} << 1 << "image failed: there are no movies";
    }

    void imageRefused()
    {
        QFETCH(QVariantList, movies);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        TestProject project(TestProject::group(kRoot, movies));
        const BatchRun run = runBatch({ QStringLiteral("--image"), project.folder() });
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.messages.contains(message), qPrintable(run.messages));
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.xml"))));
    }

    // The whole road: convert, build the image, burn it to a disc image file.
    void convertImageBurnToDiscImageFile()
    {
        TestProject project(TestProject::group(kRoot, { Fixtures::h264AacMov() }));
        project.setFormatVCD(true);
        project.saveSettings();
        QTemporaryDir output;

        const BatchRun run = runBatch({ QStringLiteral("--burn"),
            QStringLiteral("image:") + output.filePath(QStringLiteral("disc.bin")), project.folder() });
        QVERIFY2(run.exitCode == 0, qPrintable(run.messages));
        QVERIFY2(
            run.messages.contains(QStringLiteral("convert: done, 1 movie(s) converted\n")), qPrintable(run.messages));
        QVERIFY(run.messages.contains(QStringLiteral("burn: Disc Image File with disc recording\n")));
        QVERIFY(run.messages.contains(QStringLiteral("burn: done")));
        const VcdInfo burned = VcdInfo::readCueImage(output.filePath(QStringLiteral("disc.cue")));
        QVERIFY2(burned.read, qPrintable(burned.output));
        QCOMPARE(burned.output, VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc"))).output);
    }

    void failedBurnPrintsTheEnginesReason()
    {
        const QString noRecorder = QStringLiteral("/dev/kestrin-no-such-recorder");
        TestProject project(TestProject::group(kRoot, { QStringLiteral("/films/A.mov") }));
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));

        const BatchRun run
            = runBatch({ QStringLiteral("--image"), QStringLiteral("--burn"), noRecorder, project.folder() });
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(
            run.messages.contains(QStringLiteral("burn: %1 with cdrdao\n").arg(noRecorder)), qPrintable(run.messages));
        QVERIFY2(run.messages.contains(QStringLiteral("burn failed: ERROR: Cannot setup device %1.\n").arg(noRecorder)),
            qPrintable(run.messages));
    }

    // Neither option: the movies are converted, then the image is built.
    void twoMoviesInTwoGroupsBecomeADisc()
    {
        const QString first = Fixtures::h264AacMov();
        const QString second = Fixtures::mjpegPcmAvi();
        TestProject project(TestProject::group(kRoot,
            { TestProject::group(QStringLiteral("First"), { first }),
                TestProject::group(QStringLiteral("Second"), { second }) }));
        project.setFormatVCD(true);
        project.settings().setValue(QStringLiteral("Title"), QStringLiteral("Two Groups"));
        project.saveSettings();

        const BatchRun run = runBatch({ project.folder() });
        QVERIFY2(run.exitCode == 0, qPrintable(run.messages));
        QVERIFY(run.messages.contains(QStringLiteral("convert: done, 2 movie(s) converted\n")));
        QVERIFY(
            run.messages.indexOf(QStringLiteral("convert: done")) < run.messages.indexOf(QStringLiteral("image: ")));
        QCOMPARE(QDir(project.folder()).entryList({ QStringLiteral("*.mpg") }),
            QStringList({ "h264_aac.mpg", "mjpeg_pcm.mpg" }));
        const VcdInfo info = VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc")));
        QVERIFY2(info.read, qPrintable(info.output));
        QCOMPARE(info.id, QStringLiteral("VIDEO_CD"));
        QCOMPARE(info.albumId, QStringLiteral("TWO GROUPS"));
        // The root's chain plays both movies, each group's chain its own.
        QCOMPARE(info.playLists, 4);
        QCOMPARE(info.chainStarts, 3);
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages"))));
    }

    void interruptStopsCleanly_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("Ctrl-C") << int(SIGINT);
        QTest::newRow("end of the session") << int(SIGTERM);
    }

    // Stopped while a movie is encoded: the conversion stops cleanly, no
    // image is built from what it left, and no temporary folder is left.
    void interruptStopsCleanly()
    {
        QFETCH(int, signalNumber);
        TestProject project(TestProject::group(kRoot, { Fixtures::pal25Mp4(20) }));
        project.saveSettings();
        QTemporaryDir temp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), temp.path());
        QProcess batch;
        batch.setProcessEnvironment(environment);
        batch.setReadChannel(QProcess::StandardError);
        batch.start(QStringLiteral(KESTRIN_BIN_DIR "/kestrin-batch"), { project.folder() });
        QString messages;
        while (!messages.contains(QStringLiteral("convert: picture encoding")) && batch.waitForReadyRead(60000))
            messages += QString::fromUtf8(batch.readAllStandardError());
        QVERIFY2(batch.state() == QProcess::Running, qPrintable(messages));
        QTRY_VERIFY(!QDir(temp.path()).isEmpty());
        ::kill(pid_t(batch.processId()), signalNumber);
        QVERIFY(batch.waitForFinished(60000));
        messages += QString::fromUtf8(batch.readAllStandardError());
        QCOMPARE(batch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(batch.exitCode(), 130);
        QVERIFY2(messages.contains(QStringLiteral("convert: stopped")), qPrintable(messages));
        QVERIFY(!messages.contains(QStringLiteral("image: ")));
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.toc"))));
        QCOMPARE(QDir(project.folder()).entryList({ QStringLiteral("*.mpg"), QStringLiteral("*.m2v") }), QStringList());
        QVERIFY(QDir(temp.path()).isEmpty());
    }

    void folderWithoutTreeIsNoProject()
    {
        QTemporaryDir folder;
        const BatchRun run = runBatch({ folder.path() });
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.messages.contains(QStringLiteral("no Kestrin project folder")), qPrintable(run.messages));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Kestrin.settings"))));
    }
};

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
