#include "movtoy4m/EncoderCommand.h"

#include <QTest>

namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestEncoderCommand : public QObject {
    Q_OBJECT

private slots:
    void choosesTheMotionSearchByQuality_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<QStringList>("motion");
        QTest::addColumn<QStringList>("radius");
        QTest::newRow("100") << 100 << words("-H -4 1 -2 1") << words("-r 32");
        QTest::newRow("91") << 91 << words("-H -4 1 -2 1") << words("-r 32");
        QTest::newRow("90") << 90 << words("-H -4 1 -2 1") << words("-r 30");
        QTest::newRow("81") << 81 << words("-H -4 1 -2 1") << words("-r 30");
        QTest::newRow("80") << 80 << words("-H -4 1 -2 1") << words("-r 28");
        QTest::newRow("76") << 76 << words("-H -4 1 -2 1") << words("-r 28");
        QTest::newRow("75") << 75 << words("-H -4 2 -2 2") << words("-r 28");
        QTest::newRow("70") << 70 << words("-H -4 2 -2 2") << words("-r 26");
        QTest::newRow("51") << 51 << words("-H -4 2 -2 2") << words("-r 24");
        QTest::newRow("50") << 50 << words("-4 3 -2 3") << words("-r 22");
        QTest::newRow("26") << 26 << words("-4 3 -2 3") << words("-r 18");
        QTest::newRow("25") << 25 << words("-4 4 -2 4") << words("-r 18");
        QTest::newRow("11") << 11 << words("-4 4 -2 4") << words("-r 16");
        QTest::newRow("10") << 10 << words("-4 4 -2 4") << words("-r 14");
        QTest::newRow("0") << 0 << words("-4 4 -2 4") << words("-r 14");
    }

    void choosesTheMotionSearchByQuality()
    {
        QFETCH(int, quality);
        QFETCH(QStringList, motion);
        QFETCH(QStringList, radius);
        QCOMPARE(EncoderCommand::motionSearchOptions(quality), motion);
        QCOMPARE(EncoderCommand::searchRadiusOptions(quality), radius);
    }

    void choosesTheProfileByBitRate_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("code");
        QTest::newRow("VCD 1150") << true << 1150 << 1;
        QTest::newRow("VCD 1151") << true << 1151 << 2;
        QTest::newRow("VCD 1152") << true << 1152 << 1;
        QTest::newRow("VCD 2500") << true << 2500 << 2;
        QTest::newRow("SVCD 2500") << false << 2500 << 4;
        QTest::newRow("SVCD 2499") << false << 2499 << 5;
        QTest::newRow("SVCD 1152") << false << 1152 << 5;
    }

    void choosesTheProfileByBitRate()
    {
        QFETCH(bool, vcd);
        QFETCH(int, bitRate);
        QFETCH(int, code);
        QCOMPARE(EncoderCommand::formatCode(vcd, bitRate), code);
    }

    void buildsWholeCommandLines_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("interlaced");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("VCD standard") << true << 1152 << 100 << false
                                      << words("-H -4 1 -2 1 -v 0 -f 1 -a 2 -b 1152 -I 0 -M 4 -V 92 -S 9999 -o");
        QTest::newRow("VCD is never interlaced")
            << true << 1151 << 75 << true << words("-H -4 2 -2 2 -v 0 -f 2 -a 2 -b 1151 -I 0 -M 4 -V 92 -S 9999 -o");
        QTest::newRow("SVCD user, interlaced")
            << false << 2000 << 40 << true
            << words("-4 3 -2 3 -r 20 -v 0 -f 5 -a 2 -b 2000 -q 6 -I 1 -M 4 -V 230 -S 9999 -o");
    }

    void buildsWholeCommandLines()
    {
        QFETCH(bool, vcd);
        QFETCH(int, bitRate);
        QFETCH(int, quality);
        QFETCH(bool, interlaced);
        QFETCH(QStringList, expected);
        // An awkward path stays one argument: nothing here goes through a shell.
        const QString output = QStringLiteral("/tmp/it's \"a\" $HOME `x`/KestrinMPGVideo");
        QCOMPARE(EncoderCommand::arguments(vcd, bitRate, quality, interlaced, output), expected << output);
    }
};

QTEST_GUILESS_MAIN(TestEncoderCommand)
#include "tst_encodercommand.moc"
