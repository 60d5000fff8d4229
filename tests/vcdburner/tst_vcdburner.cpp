#include "VCDBurner/VCDBurner.h"

#include "common/RawSectors.h"
#include "common/VcdxbuildImage.h"
#include "platform/DRBurn.h"
#include "platform/DRVersion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The producer side is driven here as the disc-recording layer drives it:
// prepare, pregap and data requests by byte address, clean-up.
class TestVCDBurner : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void layoutGivesPregapsAndLengths_data();
    void layoutGivesPregapsAndLengths();
    void tracksAreRawMode2SessionAtOnce();
    void layoutRefused_data();
    void layoutRefused();
    void layoutOfRefusedTocSaysWhy();
    void tracksKeepTheirReaderAlive();
    void serviceVersion_data();
    void serviceVersion();
    void modifyBurnPropertiesKeepsTheOthers();

    void pregapOfTrack1IsZeroBytes();
    void pregapAndDataComeFromTheFiles();
    void dataRequests_data();
    void dataRequests();
    void unpreparedTrackGivesNoData();
    void prepareAfterCleanupFails();
    void unopenableFileFailsPreparation_data();
    void unopenableFileFailsPreparation();
    void descriptorsAreClosed();
    void servesVcdxbuildImageAsItStands();

private:
    // `spec` lists tracks separated by '|', each a list of files "name:blocks"
    // (every name gets sectors of its own); answers the TOC's path.
    QString writeImage(const QString &spec);
    QString path(const QString &name) const { return mDir->filePath(name); }
    std::shared_ptr<VCDBurner> reader(const QString &spec);
    static QByteArray serve(VCDBurner &burner, DRTrack *track, bool preGap, uint32_t blocksAtOnce = 27);
    static QByteArray fileBytes(const QString &path);
    static int openDescriptorCount();

    std::unique_ptr<QTemporaryDir> mDir;
};

void TestVCDBurner::init()
{
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
}

QString TestVCDBurner::writeImage(const QString &spec)
{
    QString toc = QStringLiteral("CD_ROM_XA\n");
    int seed = 0;
    for (const QString &track : spec.split(QLatin1Char('|'))) {
        toc += QStringLiteral("TRACK MODE2_RAW\nCOPY\n");
        for (const QString &file : track.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = file.section(QLatin1Char(':'), 0, 0) + QStringLiteral(".img");
            const qint64 blocks = file.section(QLatin1Char(':'), 1, 1).toLongLong();
            if (!QFile::exists(path(name)))
                RawSectors::write(path(name), blocks, ++seed);
            toc += QStringLiteral("DATAFILE \"%1\"\n").arg(path(name));
        }
    }
    const QString tocPath = path(QStringLiteral("Kestrin.toc"));
    RawSectors::writeBytes(tocPath, toc.toUtf8());
    return tocPath;
}

std::shared_ptr<VCDBurner> TestVCDBurner::reader(const QString &spec)
{
    QString reason;
    auto burner = VCDBurner::initWithCDRDAOTOC(writeImage(spec), &reason);
    if (!burner)
        qWarning("no reader: %s", qPrintable(reason));
    return burner;
}

QByteArray TestVCDBurner::serve(VCDBurner &burner, DRTrack *track, bool preGap, uint32_t blocksAtOnce)
{
    const uint64_t blocks = track->properties().value(preGap ? DRPreGapLengthKey : DRTrackLengthKey).toULongLong();
    const uint64_t total = blocks * VCDBurner::kBlockSize;
    QByteArray bytes(total, Qt::Uninitialized);
    uint64_t address = 0;
    while (address < total) {
        const uint32_t length = uint32_t(std::min<uint64_t>(blocksAtOnce * VCDBurner::kBlockSize, total - address));
        uint32_t flags = 0;
        char *buffer = bytes.data() + address;
        const uint32_t placed = preGap
            ? burner.producePreGapForTrack(track, buffer, length, address, VCDBurner::kBlockSize, &flags)
            : burner.produceDataForTrack(track, buffer, length, address, VCDBurner::kBlockSize, &flags);
        if (placed == 0)
            return {};
        address += placed;
    }
    return bytes;
}

QByteArray TestVCDBurner::fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int TestVCDBurner::openDescriptorCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

void TestVCDBurner::layoutGivesPregapsAndLengths_data()
{
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QList<quint64>>("preGaps");
    QTest::addColumn<QList<quint64>>("lengths");
    QTest::addColumn<QStringList>("preGapFiles");

    using L = QList<quint64>;
    QTest::newRow("one track") << "a:2" << L { 150 } << L { 2 } << QStringList { "" };
    QTest::newRow("pregap file of track 1 unused") << "p:3 a:2" << L { 150 } << L { 2 } << QStringList { "" };
    QTest::newRow("track 2 with two files")
        << "a:2 | p:3 b:1" << L { 150, 3 } << L { 2, 1 } << QStringList { "", "p.img" };
    QTest::newRow("track 2 with one file") << "a:2 | b:1" << L { 150, 0 } << L { 2, 1 } << QStringList { "", "" };
    QTest::newRow("three files in a track")
        << "a:2 | p:3 x:5 b:1" << L { 150, 3 } << L { 2, 1 } << QStringList { "", "p.img" };
}

void TestVCDBurner::layoutGivesPregapsAndLengths()
{
    QFETCH(QString, spec);
    QFETCH(QList<quint64>, preGaps);
    QFETCH(QList<quint64>, lengths);
    QFETCH(QStringList, preGapFiles);

    auto burner = reader(spec);
    QVERIFY(burner);
    const std::optional<DRLayout> layout = burner->layout();
    QVERIFY(layout);
    QCOMPARE(layout->size(), preGaps.size());
    for (qsizetype i = 0; i < layout->size(); ++i) {
        DRTrack *track = layout->at(i).get();
        QCOMPARE(track->properties().value(DRPreGapLengthKey).toULongLong(), preGaps.at(i));
        QCOMPARE(track->properties().value(DRTrackLengthKey).toULongLong(), lengths.at(i));
        QCOMPARE(burner->estimateLengthOfTrack(track), lengths.at(i));
        const std::optional<TrackContext> context = burner->trackContext(track);
        QVERIFY(context);
        QCOMPARE(context->trackNumber, uint32_t(i + 1));
        QCOMPARE(context->pregapFilePath, preGapFiles.at(i).isEmpty() ? QString() : path(preGapFiles.at(i)));
    }
}

void TestVCDBurner::tracksAreRawMode2SessionAtOnce()
{
    auto burner = reader(QStringLiteral("a:2 | p:1 b:3"));
    QVERIFY(burner);
    const std::optional<DRLayout> layout = burner->layout();
    QVERIFY(layout);
    const QVariantMap expected {
        { DRTrackLengthKey, quint64(3) },
        { DRBlockSizeKey, 2352 },
        { DRBlockTypeKey, 0 },
        { DRDataFormKey, 0x21 },
        { DRSessionFormatKey, 0x20 },
        { DRTrackModeKey, 4 },
        { DRVerificationTypeKey, DRVerificationTypeNone },
        { DRPreGapLengthKey, quint64(1) },
    };
    const QVariantMap properties = layout->at(1)->properties();
    QCOMPARE(properties.keys(), expected.keys());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(properties.value(it.key()).toString(), it.value().toString());
    QCOMPARE(layout->at(1)->format(), DRTrack::Format::Mode2Raw);
    QCOMPARE(layout->at(1)->producer(), burner.get());
}

void TestVCDBurner::layoutRefused_data()
{
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("damage"); // what happens to the files after the TOC was read
    QTest::addColumn<QString>("reason");

    QTest::newRow("no track") << ""
                              << ""
                              << "The CDRDAO TOC file has no track with a DATAFILE";
    QTest::newRow("empty track before a full one") << " | a:1"
                                                   << ""
                                                   << "Track 1 of the CDRDAO TOC file has no DATAFILE";
    QTest::newRow("subheader copies differ in track 2")
        << "a:1 | p:1 b:2"
        << "subheader b.img"
        << "The subheader copies differ in the first sector of \"$D/b.img\"";
    QTest::newRow("track file shorter than a sector since") << "a:1 | b:2"
                                                            << "truncate b.img"
                                                            << "\"$D/b.img\" is shorter than one sector";
    QTest::newRow("track file gone since") << "a:1 | b:2"
                                           << "remove b.img"
                                           << "\"$D/b.img\" is shorter than one sector";
}

void TestVCDBurner::layoutRefused()
{
    QFETCH(QString, spec);
    QFETCH(QString, damage);
    QFETCH(QString, reason);

    QString tocPath = writeImage(spec);
    if (spec.isEmpty())
        RawSectors::writeBytes(tocPath, "CD_ROM_XA\nTRACK MODE2_RAW\n");
    auto burner = VCDBurner::initWithCDRDAOTOC(tocPath);
    QVERIFY(burner);

    const QString damaged = path(damage.section(QLatin1Char(' '), 1));
    if (damage.startsWith(QLatin1String("subheader"))) {
        QByteArray bytes = fileBytes(damaged);
        bytes[21] = char(bytes[21] ^ 0x40);
        QVERIFY(RawSectors::writeBytes(damaged, bytes));
    } else if (damage.startsWith(QLatin1String("truncate"))) {
        QVERIFY(QFile::resize(damaged, 2351));
    } else if (damage.startsWith(QLatin1String("remove"))) {
        QVERIFY(QFile::remove(damaged));
    }

    QString why;
    QVERIFY(!burner->layout(&why));
    QCOMPARE(why, QString(reason).replace(QStringLiteral("$D"), mDir->path()));
}

void TestVCDBurner::layoutOfRefusedTocSaysWhy()
{
    writeImage(QStringLiteral("a:1"));
    const QString tocPath = path(QStringLiteral("Kestrin.toc"));
    RawSectors::writeBytes(tocPath, "CD_ROM_XA\nTRACK MODE1\n");
    QString reason;
    QVERIFY(!VCDBurner::layoutForCDRDAOTOC(tocPath, &reason));
    QCOMPARE(reason, QStringLiteral("Invalid CDRDAO TOC file, unknown track type TRACK MODE1"));
}

void TestVCDBurner::tracksKeepTheirReaderAlive()
{
    std::optional<DRLayout> layout = VCDBurner::layoutForCDRDAOTOC(writeImage(QStringLiteral("a:1 | b:1")));
    QVERIFY(layout);
    std::weak_ptr<VCDBurner> producer = static_cast<VCDBurner *>(layout->at(0)->producer())->shared_from_this();
    QVERIFY(!producer.expired());
    layout->removeFirst();
    QVERIFY(!producer.expired());
    layout.reset();
    QVERIFY(producer.expired());
}

void TestVCDBurner::serviceVersion_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<bool>("supported");
    QTest::newRow("2.1.0") << quint32(0x02100000) << false;
    QTest::newRow("just above 2.1.0") << quint32(0x02100001) << true;
    QTest::newRow("1.9") << quint32(0x01900000) << false;
    QTest::newRow("high bit set") << quint32(0x80000000) << true;
    QTest::newRow("this layer") << quint32(DRGetVersion()) << true;
}

void TestVCDBurner::serviceVersion()
{
    QFETCH(quint32, version);
    QFETCH(bool, supported);
    QCOMPARE(VCDBurner::serviceVersionIsSupported(version), supported);
}

void TestVCDBurner::modifyBurnPropertiesKeepsTheOthers()
{
    DRBurn burn(nullptr);
    burn.setProperties({ { DRBurnVerifyDiscKey, true }, { DRBurnAppendableKey, false },
        { DRBurnImageFileKey, QStringLiteral("/tmp/x.bin") } });
    QCOMPARE(VCDBurner::modifyBurnProperties(&burn), &burn);
    const QVariantMap expected { { DRBurnVerifyDiscKey, false }, { DRBurnAppendableKey, false },
        { DRBurnImageFileKey, QStringLiteral("/tmp/x.bin") }, { DRBurnStrategyIsRequiredKey, true },
        { DRBurnStrategyKey, DRBurnStrategyCDSAO } };
    QCOMPARE(burn.properties(), expected);
}

void TestVCDBurner::pregapOfTrack1IsZeroBytes()
{
    auto burner = reader(QStringLiteral("a:2"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    DRTrack *track = layout.at(0).get();
    QVERIFY(burner->prepareTrack(track, nullptr, {}));

    QByteArray buffer(7 * 2352, 'x');
    uint32_t flags = 0;
    QCOMPARE(burner->producePreGapForTrack(track, buffer.data(), buffer.size(), 143 * 2352, 2352, &flags),
        uint32_t(buffer.size()));
    QCOMPARE(buffer, QByteArray(buffer.size(), '\0'));
    QCOMPARE(serve(*burner, track, true), QByteArray(150 * 2352, '\0'));
    burner->cleanupTrackAfterBurn(track);
}

void TestVCDBurner::pregapAndDataComeFromTheFiles()
{
    auto burner = reader(QStringLiteral("a:2 | p:4 b:31"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    DRTrack *track = layout.at(1).get();
    QVERIFY(burner->prepareTrack(track, nullptr, {}));
    QCOMPARE(serve(*burner, track, true, 3), fileBytes(path(QStringLiteral("p.img"))));
    QCOMPARE(serve(*burner, track, false, 4), fileBytes(path(QStringLiteral("b.img"))));
    burner->cleanupTrackAfterBurn(track);
}

void TestVCDBurner::dataRequests_data()
{
    QTest::addColumn<quint64>("address");
    QTest::addColumn<quint32>("length");
    QTest::addColumn<quint32>("expected");

    const quint32 block = 2352;
    QTest::newRow("whole track") << quint64(0) << 5 * block << 5 * block;
    QTest::newRow("middle") << quint64(2 * block) << block << block;
    QTest::newRow("unaligned") << quint64(100) << quint32(1000) << quint32(1000);
    QTest::newRow("reaching past the end") << quint64(3 * block) << 4 * block << 2 * block;
    QTest::newRow("at the end") << quint64(5 * block) << block << quint32(0);
    QTest::newRow("beyond the end") << quint64(6 * block) << block << quint32(0);
}

void TestVCDBurner::dataRequests()
{
    QFETCH(quint64, address);
    QFETCH(quint32, length);
    QFETCH(quint32, expected);

    auto burner = reader(QStringLiteral("a:5"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    DRTrack *track = layout.at(0).get();
    QVERIFY(burner->prepareTrack(track, nullptr, {}));
    // A longer file must not leak past the track's length either.
    QFile grown(path(QStringLiteral("a.img")));
    QVERIFY(grown.open(QIODevice::Append) && grown.write(RawSectors::sectors(5, 2, 9)) > 0);
    grown.close();

    QByteArray buffer(length, 'x');
    uint32_t flags = 0;
    QCOMPARE(burner->produceDataForTrack(track, buffer.data(), length, address, 2352, &flags), expected);
    QCOMPARE(buffer.left(expected), fileBytes(grown.fileName()).mid(address, expected));
    QCOMPARE(buffer.mid(expected), QByteArray(length - expected, 'x'));
    burner->cleanupTrackAfterBurn(track);
}

void TestVCDBurner::unpreparedTrackGivesNoData()
{
    auto burner = reader(QStringLiteral("a:2 | p:1 b:1"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    QByteArray buffer(2352, 'x');
    uint32_t flags = 0;
    QCOMPARE(burner->produceDataForTrack(layout.at(1).get(), buffer.data(), 2352, 0, 2352, &flags), 0u);
    QCOMPARE(buffer, QByteArray(2352, 'x'));
}

void TestVCDBurner::prepareAfterCleanupFails()
{
    auto burner = reader(QStringLiteral("a:2"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    DRTrack *track = layout.at(0).get();
    QVERIFY(burner->prepareTrack(track, nullptr, {}));
    burner->cleanupTrackAfterBurn(track);
    QVERIFY(!burner->trackContext(track));

    QTest::ignoreMessage(QtWarningMsg, "-[VCDBurner prepareTrack:forBurn:toMedia:] couldn't get track context!");
    QVERIFY(!burner->prepareTrack(track, nullptr, {}));
    QByteArray buffer(2352, 'x');
    uint32_t flags = 0;
    QCOMPARE(burner->produceDataForTrack(track, buffer.data(), 2352, 0, 2352, &flags), 0u);
    burner->cleanupTrackAfterBurn(track);
}

void TestVCDBurner::unopenableFileFailsPreparation_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::newRow("pregap file") << QStringList { "p.img" };
    QTest::newRow("track file") << QStringList { "b.img" };
    QTest::newRow("both") << QStringList { "p.img", "b.img" };
}

void TestVCDBurner::unopenableFileFailsPreparation()
{
    QFETCH(QStringList, removed);

    auto burner = reader(QStringLiteral("a:2 | p:1 b:2"));
    QVERIFY(burner);
    const DRLayout layout = burner->layout().value();
    DRTrack *track = layout.at(1).get();
    for (const QString &name : removed)
        QVERIFY(QFile::remove(path(name)));

    for (const QString &name : removed)
        QTest::ignoreMessage(QtWarningMsg,
            qPrintable(QStringLiteral("-[VCDBurner openFileDescriptorForPath:] couldn't open \"%1\"").arg(path(name))));
    QTest::ignoreMessage(QtWarningMsg, "-[VCDBurner prepareTrack:forBurn:toMedia:] couldn't open file(s):");
    for (const QString &name : removed)
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("   ") + path(name)));

    const int before = openDescriptorCount();
    QVERIFY(!burner->prepareTrack(track, nullptr, {}));
    QCOMPARE(openDescriptorCount(), before);
    QVERIFY(!burner->trackContext(track)->trackFileDescriptor);
    QVERIFY(!burner->trackContext(track)->pregapFileDescriptor);
}

void TestVCDBurner::descriptorsAreClosed()
{
    const int before = openDescriptorCount();
    {
        auto burner = reader(QStringLiteral("a:2 | p:1 b:2 | q:1 c:1"));
        QVERIFY(burner);
        const DRLayout layout = burner->layout().value();
        for (const auto &track : layout)
            QVERIFY(burner->prepareTrack(track.get(), nullptr, {}));
        QCOMPARE(openDescriptorCount(), before + 5);
        QVERIFY(burner->prepareTrack(layout.at(1).get(), nullptr, {}));
        QCOMPARE(openDescriptorCount(), before + 5);
        burner->cleanupTrackAfterBurn(layout.at(1).get());
        QCOMPARE(openDescriptorCount(), before + 3);
    } // the reader goes with its last track, and with it the rest
    QCOMPARE(openDescriptorCount(), before);
}

void TestVCDBurner::servesVcdxbuildImageAsItStands()
{
    const QString tocPath = VcdxbuildImage::build(mDir->path(), 2);
    QVERIFY(!tocPath.isEmpty());
    QString reason;
    const std::optional<DRLayout> layout = VCDBurner::layoutForCDRDAOTOC(tocPath, &reason);
    QVERIFY2(layout, qPrintable(reason));
    QCOMPARE(layout->size(), 3);

    auto *burner = static_cast<VCDBurner *>(layout->at(0)->producer());
    QByteArray served;
    for (const auto &track : *layout) {
        QVERIFY(burner->prepareTrack(track.get(), nullptr, {}));
        served += serve(*burner, track.get(), true, 26) + serve(*burner, track.get(), false, 26);
        burner->cleanupTrackAfterBurn(track.get());
    }
    QByteArray expected(150 * 2352, '\0');
    for (const QString &file : VcdxbuildImage::imageFiles(tocPath))
        expected += fileBytes(file);
    QCOMPARE(served.size(), expected.size());
    QVERIFY(served == expected);
}

QTEST_GUILESS_MAIN(TestVCDBurner)
#include "tst_vcdburner.moc"
