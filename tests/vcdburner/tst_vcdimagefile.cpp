#include "VCDBurner/VCDBurner.h"

#include "common/VcdxbuildImage.h"
#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/ToolProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A Video CD image from vcdxbuild, laid out by VCDBurner and burned through
// the "Disc Image File" recorder, must come out as the same disc.
class TestVCDImageFile : public QObject
{
    Q_OBJECT

private slots:
    void burnedImageIsTheSameDisc();

private:
    static QString describe(const QString &sourceOption);
    static QByteArray fileBytes(const QString &path);
};

// vcd-info's account of a disc: format, volume descriptor, file system,
// INFO, ENTRIES and the track list.
QString TestVCDImageFile::describe(const QString &sourceOption)
{
    const ToolProcess::Result result = ToolProcess::run(QStringLiteral("vcd-info"),
        { QStringLiteral("--no-banner"), sourceOption, QStringLiteral("--show-format"),
            QStringLiteral("--show-pvd-all"), QStringLiteral("--show-filesystem"), QStringLiteral("--show-info-all"),
            QStringLiteral("--show-entries-all"), QStringLiteral("--show-tracks") });
    return result.succeeded() ? result.output : QString();
}

QByteArray TestVCDImageFile::fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestVCDImageFile::burnedImageIsTheSameDisc()
{
    QTemporaryDir folder;
    const QString tocPath = VcdxbuildImage::build(folder.path(), 3);
    QVERIFY(!tocPath.isEmpty());

    QString reason;
    const std::optional<DRLayout> layout = VCDBurner::layoutForCDRDAOTOC(tocPath, &reason);
    QVERIFY2(layout, qPrintable(reason));
    auto burn = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burn->setImageFile(folder.filePath(QStringLiteral("disc.cue")));
    VCDBurner::modifyBurnProperties(burn.get());
    BurnSession session(burn, *layout);
    const DiscJobResult result = session.run();
    QVERIFY2(result.succeeded(), qPrintable(result.message));

    QByteArray images;
    for (const QString &file : VcdxbuildImage::imageFiles(tocPath))
        images += fileBytes(file);
    const QByteArray bin = fileBytes(folder.filePath(QStringLiteral("disc.bin")));
    QCOMPARE(bin.size(), images.size());
    QVERIFY(bin == images);

    const QString fromToc = describe(QStringLiteral("--toc-file=") + tocPath);
    QVERIFY(fromToc.contains(QLatin1String("VCD 2.0 detected")));
    QVERIFY(fromToc.contains(QLatin1String("AVSEQ03.DAT")));
    QCOMPARE(describe(QStringLiteral("--cue-file=") + folder.filePath(QStringLiteral("disc.cue"))), fromToc);
}

QTEST_GUILESS_MAIN(TestVCDImageFile)
#include "tst_vcdimagefile.moc"
