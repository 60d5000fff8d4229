#include "conversion/ConversionSettings.h"
#include "conversion/Multiplexer.h"
#include "platform/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

bool noLinksLeft()
{
    for (const char *name : { Multiplexer::kVideoLink, Multiplexer::kAudioLink, Multiplexer::kOutputLink })
        if (QFileInfo(PrivateTempDir::filePath(QString::fromLatin1(name))).isSymLink())
            return false;
    return true;
}

} // namespace

class TestMultiplexer : public QObject
{
    Q_OBJECT

private slots:
    void formatCode_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<bool>("generic");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("code");
        QTest::newRow("VCD generic") << true << true << 1152 << 0;
        QTest::newRow("VCD standard rate") << true << false << 1152 << 1;
        QTest::newRow("VCD at 1150 is not the standard rate here") << true << false << 1150 << 2;
        QTest::newRow("SVCD generic") << false << true << 2500 << 3;
        QTest::newRow("SVCD standard rate") << false << false << 2500 << 4;
        QTest::newRow("SVCD other rate") << false << false << 2000 << 5;
    }

    void formatCode()
    {
        QFETCH(bool, vcd);
        QFETCH(bool, generic);
        QFETCH(int, bitRate);
        QFETCH(int, code);
        QCOMPARE(Multiplexer::formatCode(vcd, generic, bitRate), code);
    }

    // An empty bit rate is encoded at 2500 kbit/s, and multiplexed so.
    void settingsUseTheRateTheEncoderGot()
    {
        ConversionSettings settings;
        settings.video.formatVCD = false;
        settings.video.bitRate = 0;
        QCOMPARE(settings.multiplexFormat(), 4);
        settings.video.formatVCD = true;
        QCOMPARE(settings.multiplexFormat(), 2);
        settings.genericMPEG = true;
        QCOMPARE(settings.multiplexFormat(), 0);
    }

    void arguments()
    {
        const QString common = QStringLiteral("-v 0 -V -f 4 -S 9999 -M -O 0 -b 92 -o OUT VIDEO");
        QCOMPARE(Multiplexer::arguments(4, QStringLiteral("OUT"), QStringLiteral("VIDEO"), QStringLiteral("AUDIO"))
                     .join(QLatin1Char(' ')),
            common + QStringLiteral(" AUDIO"));
        QCOMPARE(
            Multiplexer::arguments(4, QStringLiteral("OUT"), QStringLiteral("VIDEO")).join(QLatin1Char(' ')), common);
    }

    // mplex refusing its input is a failure that says why, and nothing of
    // the movie stays behind: neither a base.mpg, nor its inputs, nor the links.
    void aFailedMultiplexingLeavesNothing()
    {
        QTemporaryDir project;
        const MovieFiles files = MovieFiles::forMovie(QStringLiteral("/movies/clip.mov"), project.path(), true);
        writeFile(files.video, QByteArray(20000, 'v'));
        writeFile(files.mp2, QByteArray(20000, 'a'));
        writeFile(files.wav, QByteArray(100, 'w'));
        writeFile(files.mpg, QByteArray("an older conversion"));
        const std::atomic_bool stop = false;
        const StepResult result = Multiplexer::combine(files, 1, &stop);
        QCOMPARE(result.status, StepResult::Status::Failed);
        QVERIFY(result.error.contains(QStringLiteral("clip.mpg")));
        QVERIFY(!result.output.isEmpty());
        QVERIFY(QDir(project.path()).isEmpty());
        QVERIFY(noLinksLeft());
    }

    void afterStopNothingIsMultiplexed()
    {
        QTemporaryDir project;
        const MovieFiles files = MovieFiles::forMovie(QStringLiteral("/movies/clip.mov"), project.path(), false);
        QCOMPARE(QFileInfo(files.video).suffix(), QStringLiteral("m2v"));
        writeFile(files.video, QByteArray(20000, 'v'));
        writeFile(files.mp2, QByteArray(20000, 'a'));
        writeFile(files.mpg, QByteArray("an older conversion"));
        const std::atomic_bool stop = true;
        QCOMPARE(Multiplexer::combine(files, 4, &stop).status, StepResult::Status::Stopped);
        QVERIFY(QDir(project.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMultiplexer)
#include "tst_multiplexer.moc"
