#include "conversion/MovieSelection.h"
#include "settings/Preferences.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Marks the project's converted files stale, as a confirmed setting change does.
void markMPEGsStale(const QString &folder)
{
    SettingsModel model;
    model.setProjectFolder(folder);
    Preferences(&model).deleteMPEGs();
}

void writeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// Sets the file's own modification time, `seconds` from a fixed moment.
void setTime(const QString &path, int seconds, long nanoseconds = 0)
{
    const timespec times[2] = { { 1700000000 + seconds, nanoseconds }, { 1700000000 + seconds, nanoseconds } };
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

} // namespace

class TestMovieSelection : public QObject
{
    Q_OBJECT

private slots:
    void needsConverting_data()
    {
        QTest::addColumn<int>("movieTime"); // -1: the movie is missing
        QTest::addColumn<int>("mpgTime"); // -1: no base.mpg
        QTest::addColumn<bool>("marker");
        QTest::addColumn<bool>("expected");
        QTest::newRow("never converted") << 10 << -1 << false << true;
        QTest::newRow("converted before the movie changed") << 20 << 10 << false << true;
        QTest::newRow("same date is up to date") << 10 << 10 << false << false;
        QTest::newRow("converted after") << 10 << 20 << false << false;
        QTest::newRow("up to date but marked stale") << 10 << 20 << true << true;
        QTest::newRow("missing movie, no mpg") << -1 << -1 << false << false;
        QTest::newRow("missing movie, stale mpg") << -1 << 20 << true << false;
    }

    void needsConverting()
    {
        QFETCH(int, movieTime);
        QFETCH(int, mpgTime);
        QFETCH(bool, marker);
        QFETCH(bool, expected);
        QTemporaryDir project;
        const QString movie = project.filePath(QStringLiteral("movies/clip.mov"));
        QDir().mkpath(project.filePath(QStringLiteral("movies")));
        if (movieTime >= 0) {
            writeFile(movie);
            setTime(movie, movieTime);
        }
        const QString mpg = project.filePath(QStringLiteral("clip.mpg"));
        if (mpgTime >= 0) {
            writeFile(mpg);
            setTime(mpg, mpgTime);
        }
        if (marker)
            markMPEGsStale(project.path());
        QCOMPARE(MovieSelection::needsConverting(movie, mpg, marker), expected);
        QCOMPARE(MovieSelection::select({ movie }, project.path()).workList.size(), expected ? 1 : 0);
    }

    // A fraction of a second is enough: a movie saved just after its
    // conversion is newer.
    void subSecondChangesCount()
    {
        QTemporaryDir project;
        const QString movie = project.filePath(QStringLiteral("clip.mov"));
        const QString mpg = project.filePath(QStringLiteral("clip.mpg"));
        writeFile(movie);
        writeFile(mpg);
        setTime(mpg, 10, 100);
        setTime(movie, 10, 200);
        QVERIFY(MovieSelection::needsConverting(movie, mpg, false));
    }

    // The dates are those of the links themselves, not of what they name.
    void linksAreDatedThemselves()
    {
        QTemporaryDir project;
        const QString target = project.filePath(QStringLiteral("real.mov"));
        const QString movie = project.filePath(QStringLiteral("clip.mov"));
        const QString mpg = project.filePath(QStringLiteral("clip.mpg"));
        writeFile(target);
        writeFile(mpg);
        QVERIFY(QFile::link(target, movie));
        setTime(target, 30);
        setTime(mpg, 20);
        setTime(movie, 10);
        QVERIFY(!MovieSelection::needsConverting(movie, mpg, false));
    }

    void workListKeepsOrderAndEachMovieOnce()
    {
        QTemporaryDir project;
        QStringList media;
        for (const char *name : { "b.mov", "a.avi", "c.mp4" }) {
            media << project.filePath(QString::fromLatin1(name));
            writeFile(media.last());
        }
        const QString missing = project.filePath(QStringLiteral("gone.mov"));
        const MovieSelection::Result result
            = MovieSelection::select({ media[0], media[1], missing, media[0], media[2], media[1] }, project.path());
        QCOMPARE(result.workList, media);
        QVERIFY(result.sharedBases.isEmpty());
    }

    // Different files with one base would write the same base.mpg: only the
    // first is converted, and the pair is named for the warning.
    void sharedBasesConvertTheFirstOnly()
    {
        QTemporaryDir project;
        QDir().mkpath(project.filePath(QStringLiteral("one")));
        QDir().mkpath(project.filePath(QStringLiteral("two")));
        const QString first = project.filePath(QStringLiteral("one/clip.mov"));
        const QString second = project.filePath(QStringLiteral("two/clip.mov"));
        const QString third = project.filePath(QStringLiteral("one/clip.mpg"));
        const QString other = project.filePath(QStringLiteral("one/other.mov"));
        for (const QString &path : { first, second, third, other })
            writeFile(path);
        const MovieSelection::Result result
            = MovieSelection::select({ first, other, second, first, third }, project.path());
        QCOMPARE(result.workList, QStringList({ first, other }));
        const QList<MovieSelection::SharedBase> expected { { first, second }, { first, third } };
        QCOMPARE(result.sharedBases, expected);
    }

    void markerRoundTrip()
    {
        QTemporaryDir project;
        QVERIFY(Preferences::getValidMPEGs(project.path()));
        markMPEGsStale(project.path());
        QVERIFY(QFile::exists(project.filePath(QStringLiteral("Kestrin.invalidmpegs"))));
        QVERIFY(!Preferences::getValidMPEGs(project.path()));
        Preferences::setValidMPEGs(project.path());
        QVERIFY(Preferences::getValidMPEGs(project.path()));
        Preferences::setValidMPEGs(project.path());
        // No project: nothing is stale, wherever the program was started.
        QVERIFY(Preferences::getValidMPEGs(QString()));
    }
};

QTEST_GUILESS_MAIN(TestMovieSelection)
#include "tst_movieselection.moc"
