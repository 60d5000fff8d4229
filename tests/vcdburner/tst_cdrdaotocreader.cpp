#include "VCDBurner/CDRDAOTOCReader.h"

#include "common/RawSectors.h"
#include "common/VcdxbuildImage.h"

#include <QTemporaryDir>
#include <QTest>

using Tracks = QList<QStringList>;

class TestCDRDAOTOCReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsLines_data();
    void readsLines();
    void refusesAHundredthTrack_data();
    void refusesAHundredthTrack();
    void missingFileIsObjectNotAvailable();
    void unreadableTocHasNoTracks_data();
    void unreadableTocHasNoTracks();
    void readsVcdxbuildToc();

private:
    QString path(const QString &name) const { return mDir.filePath(name); }
    QString toc(std::initializer_list<const char *> lines) const;
    Tracks tracks(std::initializer_list<QStringList> names) const;
    QString writeToc(const QString &text) const;

    QTemporaryDir mDir;
};

QString TestCDRDAOTOCReader::toc(std::initializer_list<const char *> lines) const
{
    QStringList text;
    for (const char *line : lines)
        text.append(QString::fromUtf8(line).replace(QStringLiteral("$D"), mDir.path()));
    return text.join(QLatin1Char('\n'));
}

Tracks TestCDRDAOTOCReader::tracks(std::initializer_list<QStringList> names) const
{
    Tracks result;
    for (const QStringList &track : names) {
        QStringList files;
        for (const QString &name : track)
            files.append(path(name));
        result.append(files);
    }
    return result;
}

QString TestCDRDAOTOCReader::writeToc(const QString &text) const
{
    const QString tocPath = path(QStringLiteral("Kestrin.toc"));
    RawSectors::writeBytes(tocPath, text.toUtf8());
    return tocPath;
}

void TestCDRDAOTOCReader::initTestCase()
{
    QVERIFY(mDir.isValid());
    QVERIFY(RawSectors::write(path(QStringLiteral("a.img")), 2, 1));
    QVERIFY(RawSectors::write(path(QStringLiteral("b.img")), 1, 2));
    QVERIFY(RawSectors::write(path(QStringLiteral("c.img")), 3, 3));
    QVERIFY(RawSectors::writeBytes(path(QStringLiteral("empty.img")), {}));
    QVERIFY(RawSectors::writeBytes(path(QStringLiteral("odd.img")), RawSectors::sectors(0, 1, 4) + "x"));
}

void TestCDRDAOTOCReader::readsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Tracks>("expected");
    QTest::addColumn<QString>("reason");

    const QString noReason;
    QTest::newRow("as vcdxbuild writes it") << toc({ "// CDRDAO TOC", "", "CD_ROM_XA", "", "// Track 1",
        "TRACK MODE2_RAW", " COPY", " DATAFILE \"$D/a.img\"", "", "// Track 2", "TRACK MODE2_RAW", " COPY",
        " DATAFILE \"$D/b.img\"", " START", " DATAFILE \"$D/c.img\"", "", "// EOF" })
                                            << tracks({ { "a.img" }, { "b.img", "c.img" } }) << noReason;
    QTest::newRow("three files in a track") << toc(
        { "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\"", "DATAFILE \"$D/b.img\"", "DATAFILE \"$D/c.img\"" })
                                            << tracks({ { "a.img", "b.img", "c.img" } }) << noReason;
    QTest::newRow("indented, blank lines, comments")
        << toc({ "   ", "\t// comment", "  CD_ROM_XA  ", "", "\tTRACK MODE2_RAW\t", "   DATAFILE \"$D/a.img\"   " })
        << tracks({ { "a.img" } }) << noReason;
    QTest::newRow("comment after a keyword")
        << toc({ "CD_ROM_XA // a disc", "TRACK MODE2_RAW // first", "DATAFILE \"$D/a.img\" // its data" })
        << tracks({ { "a.img" } }) << noReason;
    QTest::newRow("prefixes COPYING and STARTS") << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "COPYING",
        "DATAFILE \"$D/a.img\"", "STARTS 00:02:00", "DATAFILE \"$D/b.img\"" })
                                                 << tracks({ { "a.img", "b.img" } }) << noReason;
    QTest::newRow("CD_ROM_XA after a comment")
        << toc({ "// header", "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/b.img\"" }) << tracks({ { "b.img" } })
        << noReason;
    QTest::newRow("empty last track dropped")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\"", "TRACK MODE2_RAW", "COPY" })
        << tracks({ { "a.img" } }) << noReason;
    QTest::newRow("empty track before a full one")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\"" })
        << tracks({ {}, { "a.img" } }) << noReason;
    QTest::newRow("no track") << toc({ "CD_ROM_XA", "// nothing" }) << Tracks() << noReason;

    QTest::newRow("CD_ROM_XA missing") << toc({ "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\"" }) << Tracks()
                                       << "Invalid CDRDAO TOC file, missing CD_ROM_XA";
    QTest::newRow("CD_ROM_XA late") << toc({ "TRACK MODE2_RAW", "CD_ROM_XA", "DATAFILE \"$D/a.img\"" }) << Tracks()
                                    << "Invalid CDRDAO TOC file, missing CD_ROM_XA";
    for (const char *mode : { "AUDIO", "MODE1", "MODE1_RAW", "MODE2", "MODE2_FORM1", "MODE2_FORM_MIX" })
        QTest::addRow("track %s", mode)
            << toc({ "CD_ROM_XA", qPrintable(QStringLiteral("TRACK %1").arg(mode)) }) << Tracks()
            << QStringLiteral("Invalid CDRDAO TOC file, unknown track type TRACK %1").arg(mode);
    for (const char *line : { "NO COPY", "PREGAP 0:2:0", "FILE \"x.wav\" 0", "SILENCE 1:0:0", "CD_DA", "ISRC \"x\"" })
        QTest::addRow("keyword %s", line) << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", line }) << Tracks()
                                          << QStringLiteral("Invalid CDRDAO TOC file, bad line: %1").arg(line);
    QTest::newRow("lower case keyword") << toc({ "cd_rom_xa" }) << Tracks()
                                        << "Invalid CDRDAO TOC file, bad line: cd_rom_xa";
    QTest::newRow("DATAFILE before TRACK")
        << toc({ "CD_ROM_XA", "DATAFILE \"$D/a.img\"", "TRACK MODE2_RAW" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, DATAFILE \"$D/a.img\" encountered before TRACK." });
    QTest::newRow("DATAFILE without quotes")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE $D/a.img" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, no quoted file name: DATAFILE $D/a.img" });
    QTest::newRow("quote in a comment moves the end of the name")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\" // \"old\"" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, referenced file \"$D/a.img\" // \"old\" does not exist" });
    QTest::newRow("file of 0 bytes")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/empty.img\"" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, referenced file \"$D/empty.img\" is 0 bytes, not a multiple of 2352" });
    QTest::newRow("file of 2353 bytes")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/odd.img\"" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, referenced file \"$D/odd.img\" is 2353 bytes, not a multiple of 2352" });
    QTest::newRow("folder named as a file")
        << toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D\"" }) << Tracks()
        << toc({ "Invalid CDRDAO TOC file, referenced file \"$D\" does not exist" });
}

void TestCDRDAOTOCReader::readsLines()
{
    QFETCH(QString, text);
    QFETCH(Tracks, expected);
    QFETCH(QString, reason);

    for (const QString &lineBreak : { QStringLiteral("\n"), QStringLiteral("\r\n"), QStringLiteral("\r") }) {
        const auto result = CDRDAOTOCReader::read(writeToc(QString(text).replace(QLatin1Char('\n'), lineBreak)));
        QCOMPARE(result.reason, reason);
        QCOMPARE(result.succeeded(), reason.isEmpty());
        QCOMPARE(result.trackList, expected);
    }
}

void TestCDRDAOTOCReader::refusesAHundredthTrack_data()
{
    QTest::addColumn<int>("trackCount");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("99 tracks") << 99 << true;
    QTest::newRow("100 tracks") << 100 << false;
}

void TestCDRDAOTOCReader::refusesAHundredthTrack()
{
    QFETCH(int, trackCount);
    QFETCH(bool, accepted);

    QString text = QStringLiteral("CD_ROM_XA\n");
    for (int i = 0; i < trackCount; ++i)
        text += QStringLiteral("TRACK MODE2_RAW\nDATAFILE \"%1\"\n").arg(path(QStringLiteral("b.img")));
    const auto result = CDRDAOTOCReader::read(writeToc(text));
    QCOMPARE(result.succeeded(), accepted);
    QCOMPARE(result.trackList.size(), accepted ? trackCount : 0);
    if (!accepted)
        QCOMPARE(result.reason, QStringLiteral("Invalid CDRDAO TOC file, more than 99 tracks"));
}

void TestCDRDAOTOCReader::missingFileIsObjectNotAvailable()
{
    const auto missing
        = CDRDAOTOCReader::read(writeToc(toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/gone.img\"" })));
    QCOMPARE(missing.failure, CDRDAOTOCReader::Failure::ObjectNotAvailable);
    QCOMPARE(missing.reason, toc({ "Invalid CDRDAO TOC file, referenced file \"$D/gone.img\" does not exist" }));

    const auto badLine = CDRDAOTOCReader::read(writeToc(QStringLiteral("CATALOG \"0000000000000\"")));
    QCOMPARE(badLine.failure, CDRDAOTOCReader::Failure::InvalidArgument);
}

void TestCDRDAOTOCReader::unreadableTocHasNoTracks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("written");
    const QByteArray valid = toc({ "CD_ROM_XA", "TRACK MODE2_RAW", "DATAFILE \"$D/a.img\"" }).toUtf8();
    QTest::newRow("not UTF-8") << QByteArray(valid + "\n// \xff\xfe caf\xe9\n") << true;
    QTest::newRow("no such file") << valid << false;
}

void TestCDRDAOTOCReader::unreadableTocHasNoTracks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, written);

    const QString tocPath = path(QStringLiteral("unreadable.toc"));
    QFile::remove(tocPath);
    if (written)
        QVERIFY(RawSectors::writeBytes(tocPath, bytes));
    const auto result = CDRDAOTOCReader::read(tocPath);
    QVERIFY(result.succeeded());
    QVERIFY(result.trackList.isEmpty());
}

void TestCDRDAOTOCReader::readsVcdxbuildToc()
{
    QTemporaryDir folder;
    const QString tocPath = VcdxbuildImage::build(folder.path(), 2);
    QVERIFY(!tocPath.isEmpty());

    const auto result = CDRDAOTOCReader::read(tocPath);
    QVERIFY2(result.succeeded(), qPrintable(result.reason));
    const QString base = folder.filePath(QStringLiteral("Kestrin"));
    const Tracks expected { { base + "_01.img" }, { base + "_02_pregap.img", base + "_02.img" },
        { base + "_03_pregap.img", base + "_03.img" } };
    QCOMPARE(result.trackList, expected);
}

QTEST_GUILESS_MAIN(TestCDRDAOTOCReader)
#include "tst_cdrdaotocreader.moc"
