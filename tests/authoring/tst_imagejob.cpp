#include "authoring/ImageJob.h"
#include "common/Fixtures.h"
#include "common/TestProject.h"
#include "common/VcdInfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kRoot = QStringLiteral("Movies");
const QString kA = QStringLiteral("/films/A.mov");
const QString kB = QStringLiteral("/films/B.mov");
const QString kK = QStringLiteral("/films/K.mov");

bool touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

QStringList imageFiles(const QString &folder)
{
    return QDir(folder).entryList({ QStringLiteral("*.img") }, QDir::Files);
}

bool markerIn(const TestProject &project)
{
    return QFile::exists(project.file(QStringLiteral("Kestrin.invalidimages")));
}

} // namespace

class TestImageJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(!Fixtures::ntscVcdMpg().isEmpty());
        QVERIFY(!Fixtures::ntscSvcdMpg().isEmpty());
    }

    void buildsAnImageThePlayerReads_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<QString>("mpeg");
        QTest::addColumn<QString>("discId");
        QTest::newRow("VCD") << true << Fixtures::ntscVcdMpg() << "VIDEO_CD";
        QTest::newRow("SVCD") << false << Fixtures::ntscSvcdMpg() << "SUPERVCD";
    }

    void buildsAnImageThePlayerReads()
    {
        QFETCH(bool, vcd);
        QFETCH(QString, mpeg);
        QFETCH(QString, discId);
        TestProject project(TestProject::group(kRoot, { kA, TestProject::group(QStringLiteral("G"), { kK }) }));
        project.setFormatVCD(vcd);
        project.settings().setValue(QStringLiteral("Title"), QStringLiteral("My Movies"));
        QVERIFY(project.addFile(mpeg, QStringLiteral("A.mpg")));
        QVERIFY(project.addFile(mpeg, QStringLiteral("K.mpg")));

        ImageJob job(project.tree(), project.settings());
        QSignalSpy steps(&job, &ImageJob::stepChanged);
        QSignalSpy scan(&job, &ImageJob::scanProgressChanged);
        QSignalSpy write(&job, &ImageJob::writeProgressChanged);
        const ImageReport report = job.run(ImageJob::mediaList(project.tree()));
        QVERIFY2(report.succeeded(), qPrintable(report.failureText()));

        QVERIFY(!markerIn(project));
        const VcdInfo info = VcdInfo::readImage(project.file(QStringLiteral("Kestrin.toc")));
        QVERIFY2(info.read, qPrintable(info.output));
        QCOMPARE(info.id, discId);
        QCOMPARE(info.albumId, QStringLiteral("MY MOVIES"));
        // The root's chain plays A and K; group G's chain plays K.
        QCOMPARE(info.playLists, 3);
        QCOMPARE(info.chainStarts, 2);
        QCOMPARE(info.endLists, 1);

        QCOMPARE(steps.size(), 3);
        QCOMPARE(scan.last().first().toInt(), 100);
        QCOMPARE(write.last().first().toInt(), 100);
    }

    void readiness_data()
    {
        QTest::addColumn<QVariantList>("movies");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("readiness");
        const QVariantList three { kA, kB, kK };
        QTest::newRow("two MPEG files for three movies")
            << three << QStringList { "A.mpg", "B.mpg" } << int(ImageJob::Readiness::NotConverted);
        QTest::newRow("a stray MPEG file in a subfolder counts")
            << three << QStringList { "A.mpg", "B.mpg", "old/stray.mpg" } << int(ImageJob::Readiness::Ready);
        QTest::newRow("upper-case extension does not count")
            << three << QStringList { "A.mpg", "B.mpg", "clip.MPG" } << int(ImageJob::Readiness::NotConverted);
        QTest::newRow("the same movie twice needs two")
            << QVariantList { kA, kA } << QStringList { "A.mpg" } << int(ImageJob::Readiness::NotConverted);
        QTest::newRow("no movies") << QVariantList {} << QStringList {} << int(ImageJob::Readiness::NoMovies);
    }

    void readiness()
    {
        QFETCH(QVariantList, movies);
        QFETCH(QStringList, files);
        QFETCH(int, readiness);
        TestProject project(TestProject::group(kRoot, movies));
        for (const QString &file : files)
            QVERIFY(touch(project.file(file)));
        QCOMPARE(int(ImageJob::readiness(project.folder(), ImageJob::mediaList(project.tree()))), readiness);
    }

    // vcdxbuild cannot find B.mpg: its error reaches the report, and nothing
    // passes for an image.
    void failedBuildIsNoSuccess()
    {
        TestProject project(TestProject::group(kRoot, { kA, kB }));
        project.setFormatVCD(true);
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        QVERIFY(touch(project.file(QStringLiteral("Kestrin.toc"))));

        ImageJob job(project.tree(), project.settings());
        const ImageReport report = job.run(ImageJob::mediaList(project.tree()));
        QCOMPARE(report.outcome, ImageReport::Outcome::Failed);
        QCOMPARE(report.errorLines.size(), 1);
        QVERIFY2(report.errorLines.first().contains(QStringLiteral("B.mpg")), qPrintable(report.errorLines.first()));
        QVERIFY(report.failureText().contains(report.errorLines.first()));
        QVERIFY(markerIn(project));
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.toc"))));
        QCOMPARE(imageFiles(project.folder()), QStringList());
    }

    // Stop ends this build's vcdxbuild and nobody else's.
    void stopLeavesTheMarker()
    {
        QTemporaryDir decoyFolder;
        const QString decoy = decoyFolder.filePath(QStringLiteral("vcdxbuild"));
        QVERIFY(QFile::link(QStringLiteral("/bin/sleep"), decoy));
        QProcess other;
        other.start(decoy, { QStringLiteral("60") });
        QVERIFY(other.waitForStarted());

        QVariantList movies;
        for (int i = 0; i < 6; ++i)
            movies.append(kA);
        TestProject project(TestProject::group(kRoot, movies));
        project.setFormatVCD(true);
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));

        ImageJob job(project.tree(), project.settings());
        // On the worker, so Stop comes while the first movie is scanned.
        connect(
            &job, &ImageJob::scanProgressChanged, &job, [&job](int) { job.stop(); }, Qt::DirectConnection);
        const ImageReport report = job.run(ImageJob::mediaList(project.tree()));
        QCOMPARE(report.outcome, ImageReport::Outcome::Stopped);
        QVERIFY(markerIn(project));
        QVERIFY(!QFile::exists(project.file(QStringLiteral("Kestrin.toc"))));
        QCOMPARE(other.state(), QProcess::Running);
        other.kill();
        other.waitForFinished();
    }

    // Without a project folder nothing may be deleted where the program runs.
    void noProjectBuildsNothing()
    {
        QTemporaryDir workingFolder;
        QVERIFY(touch(workingFolder.filePath(QStringLiteral("keep.img"))));
        const QString before = QDir::currentPath();
        QDir::setCurrent(workingFolder.path());
        SettingsModel settings;
        MediaTree tree(&settings);
        ImageJob job(tree, settings);
        const ImageReport report = job.run({ kA });
        QDir::setCurrent(before);
        QCOMPARE(report.outcome, ImageReport::Outcome::Failed);
        QVERIFY(!report.reason.isEmpty());
        QVERIFY(QFile::exists(workingFolder.filePath(QStringLiteral("keep.img"))));
        QVERIFY(!QFile::exists(workingFolder.filePath(QStringLiteral("Kestrin.invalidimages"))));
    }

    void emptyAuthorAndTitleGetDefaults()
    {
        TestProject project(TestProject::group(kRoot, { kA }));
        project.setFormatVCD(true);
        project.settings().setValue(QStringLiteral("Title"), QString());
        project.settings().setValue(QStringLiteral("Author"), QString());
        QVERIFY(project.addFile(Fixtures::ntscVcdMpg(), QStringLiteral("A.mpg")));
        ImageJob job(project.tree(), project.settings());
        QVERIFY(job.run(ImageJob::mediaList(project.tree())).succeeded());
        QCOMPARE(project.settings().title(), QStringLiteral("Video_CD"));
        QCOMPARE(project.settings().author(), QStringLiteral("Unspecified Author"));
        QFile xml(project.file(QStringLiteral("Kestrin.xml")));
        QVERIFY(xml.open(QIODevice::ReadOnly));
        const QByteArray text = xml.readAll();
        QVERIFY(text.contains("<album-id>VIDEO_CD</album-id>"));
        QVERIFY(text.contains("<publisher-id>UNSPECIFIED AUTHOR</publisher-id>"));
    }
};

QTEST_GUILESS_MAIN(TestImageJob)
#include "tst_imagejob.moc"
