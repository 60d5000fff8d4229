#include "common/Fixtures.h"

#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRTrack.h"
#include "platform/DRTrackProducer.h"
#include "platform/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {
// Serves the tracks of a vcdxbuild image from its files: a pregap file
// (none for track 1, whose pregap is zeros) and a data file per track.
class ImageFilesProducer : public DRTrackProducer {
public:
    struct Files {
        QString preGap;
        QString data;
    };

    std::shared_ptr<DRTrack> addTrack(const std::shared_ptr<ImageFilesProducer>& self, const Files& files)
    {
        auto track = std::make_shared<DRTrack>(self);
        const quint64 preGap = files.preGap.isEmpty() ? 150 : QFileInfo(files.preGap).size() / 2352;
        track->setProperties({ { DRTrackLengthKey, quint64(QFileInfo(files.data).size() / 2352) },
            { DRBlockSizeKey, 2352 }, { DRBlockTypeKey, 0 }, { DRDataFormKey, 0x21 }, { DRSessionFormatKey, 0x20 },
            { DRTrackModeKey, 4 }, { DRVerificationTypeKey, DRVerificationTypeNone }, { DRPreGapLengthKey, preGap } });
        mFiles.insert(track.get(), files);
        return track;
    }

    uint64_t estimateLengthOfTrack(DRTrack* track) override { return track->length(); }
    bool prepareTrack(DRTrack*, DRBurn*, const QVariantMap&) override { return true; }
    void cleanupTrackAfterBurn(DRTrack*) override { }

    uint32_t producePreGapForTrack(
        DRTrack* track, char* buffer, uint32_t length, uint64_t address, uint32_t, uint32_t*) override
    {
        const QString path = mFiles.value(track).preGap;
        if (path.isEmpty()) {
            std::memset(buffer, 0, length);
            return length;
        }
        return read(path, buffer, length, address);
    }

    uint32_t produceDataForTrack(
        DRTrack* track, char* buffer, uint32_t length, uint64_t address, uint32_t, uint32_t*) override
    {
        return read(mFiles.value(track).data, buffer, length, address);
    }

private:
    static uint32_t read(const QString& path, char* buffer, uint32_t length, uint64_t address)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(address)))
            return 0;
        return uint32_t(qMax<qint64>(0, file.read(buffer, length)));
    }

    QHash<const DRTrack*, Files> mFiles;
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* kDescription = "<?xml version=\"1.0\"?>\n"
                           "<!DOCTYPE videocd PUBLIC \"-//GNU//DTD VideoCD//EN\" "
                           "\"http://www.gnu.org/software/vcdimager/videocd.dtd\">\n"
                           "<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" class=\"vcd\" "
                           "version=\"2.0\">\n"
                           "<info><album-id>KESTRINTEST</album-id><volume-count>1</volume-count>"
                           "<volume-number>1</volume-number><restriction>0</restriction></info>\n"
                           "<pvd><volume-id>KESTRINTEST</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id></pvd>\n"
                           "<sequence-items>\n"
                           "<sequence-item src=\"MOVIE\" id=\"sequence-00\"/>\n"
                           "<sequence-item src=\"MOVIE\" id=\"sequence-01\"/>\n"
                           "</sequence-items>\n"
                           "</videocd>\n";
}

// A real Video CD image, built by vcdxbuild from a real MPEG, burned to the
// disc image recorder and read back by vcd-info.
class TestVideoCDImage : public QObject {
    Q_OBJECT

private slots:
    void aBurnedVideoCDReadsBackAsOne()
    {
        const QString movie = Fixtures::make(QStringLiteral("ntsc-vcd.mpg"),
            { QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("testsrc=size=352x240:rate=30000/1001:duration=1"), QStringLiteral("-f"),
                QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=duration=1:sample_rate=44100"),
                QStringLiteral("-target"), QStringLiteral("ntsc-vcd") });
        QVERIFY(!movie.isEmpty());

        QTemporaryDir dir;
        QFile xml(dir.filePath(QStringLiteral("Kestrin.xml")));
        QVERIFY(xml.open(QIODevice::WriteOnly));
        xml.write(QByteArray(kDescription).replace("MOVIE", movie.toUtf8()));
        xml.close();
        const ToolProcess::Result built = ToolProcess::run(QStringLiteral("vcdxbuild"),
            { QStringLiteral("--image-type=cdrdao"), QStringLiteral("--cdrdao-file=Kestrin"), xml.fileName() }, {},
            nullptr, dir.path());
        QVERIFY2(built.succeeded(), qPrintable(built.output));
        const ToolProcess::Result reference = ToolProcess::run(QStringLiteral("vcdxbuild"),
            { QStringLiteral("--cue-file=reference.cue"), QStringLiteral("--bin-file=reference.bin"), xml.fileName() },
            {}, nullptr, dir.path());
        QVERIFY2(reference.succeeded(), qPrintable(reference.output));

        auto producer = std::make_shared<ImageFilesProducer>();
        const DRLayout layout { producer->addTrack(producer, { {}, dir.filePath(QStringLiteral("Kestrin_01.img")) }),
            producer->addTrack(producer,
                { dir.filePath(QStringLiteral("Kestrin_02_pregap.img")),
                    dir.filePath(QStringLiteral("Kestrin_02.img")) }),
            producer->addTrack(producer,
                { dir.filePath(QStringLiteral("Kestrin_03_pregap.img")),
                    dir.filePath(QStringLiteral("Kestrin_03.img")) }) };
        auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
        burn->setImageFile(dir.filePath(QStringLiteral("burned.cue")));
        const DiscJobResult result = BurnSession(burn, layout).run();
        QVERIFY2(result.succeeded(), qPrintable(result.message));

        // The same bytes and track positions as vcdxbuild's own BIN/CUE form
        // (which adds the copy flag that a layout does not carry).
        QVERIFY(readAll(dir.filePath(QStringLiteral("burned.bin")))
            == readAll(dir.filePath(QStringLiteral("reference.bin"))));
        QString expectedCue = QString::fromUtf8(readAll(dir.filePath(QStringLiteral("reference.cue"))));
        expectedCue.remove(QLatin1Char('\r'))
            .replace(QStringLiteral("reference.bin"), QStringLiteral("burned.bin"))
            .remove(QStringLiteral("    FLAGS DCP\n"));
        QCOMPARE(QString::fromUtf8(readAll(dir.filePath(QStringLiteral("burned.cue")))), expectedCue);

        const ToolProcess::Result info = ToolProcess::run(QStringLiteral("vcd-info"),
            { QStringLiteral("--cue-file=") + dir.filePath(QStringLiteral("burned.cue")), QStringLiteral("-I"),
                QStringLiteral("--no-banner") });
        QVERIFY2(info.succeeded(), qPrintable(info.output));
        QVERIFY2(info.output.contains(QStringLiteral("ID: `VIDEO_CD'")), qPrintable(info.output));
        QVERIFY(info.output.contains(QStringLiteral("album id: `KESTRINTEST'")));
    }
};

QTEST_GUILESS_MAIN(TestVideoCDImage)
#include "tst_videocdimage.moc"
