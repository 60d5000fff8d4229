#include "movtoy4m/FramePlacement.h"
#include "movtoy4m/OutputFormat.h"
#include "movtoy4m/VideoOutput.h"
#include "settings/SettingsModel.h"

#include <QTest>

Q_DECLARE_METATYPE(FrameRect)
Q_DECLARE_METATYPE(OutputFormat)

namespace {

FrameRect rect(int left, int top, int right, int bottom)
{
    return { top, left, bottom, right };
}

} // namespace

namespace QTest {
template <> char* toString(const FrameRect& r)
{
    return qstrdup(qPrintable(
        QStringLiteral("left %1 top %2 right %3 bottom %4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom)));
}
template <> char* toString(const OutputFormat& f)
{
    return qstrdup(qPrintable(QStringLiteral("%1x%2 at %3/%4").arg(f.width).arg(f.height).arg(f.rate1).arg(f.rate2)));
}
} // namespace QTest

class TestFrameSetup : public QObject {
    Q_OBJECT

private slots:
    void placesThePictureInTheFrame_data()
    {
        QTest::addColumn<QSize>("movie");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<bool>("tvSafe");
        QTest::addColumn<FrameRect>("expected");
        const QSize vcdNtsc(352, 240);
        QTest::newRow("4:3 fills VCD") << QSize(640, 480) << vcdNtsc << false << rect(0, 0, 352, 240);
        QTest::newRow("16:9 letterboxed") << QSize(640, 360) << vcdNtsc << false << rect(0, 30, 352, 210);
        QTest::newRow("TV-safe full frame") << QSize(640, 480) << vcdNtsc << true << rect(17, 12, 335, 228);
        QTest::newRow("square pillarboxed") << QSize(480, 480) << vcdNtsc << false << rect(44, 0, 308, 240);
        // Single precision puts this 132-pixel picture one pixel left of the exact centre.
        QTest::newRow("tall pillarboxed") << QSize(360, 720) << vcdNtsc << false << rect(109, 0, 241, 240);
        QTest::newRow("small 4:3 fills SVCD PAL")
            << QSize(320, 240) << QSize(480, 576) << false << rect(0, 0, 480, 576);
        QTest::newRow("16:9 on SVCD PAL, equal bars")
            << QSize(1280, 720) << QSize(480, 576) << false << rect(0, 72, 480, 504);
        QTest::newRow("no picture size fills") << QSize() << vcdNtsc << false << rect(0, 0, 352, 240);
    }

    void placesThePictureInTheFrame()
    {
        QFETCH(QSize, movie);
        QFETCH(QSize, frame);
        QFETCH(bool, tvSafe);
        QFETCH(FrameRect, expected);
        QCOMPARE(FramePlacement::scaledRect(movie, frame, 4, 3, tvSafe), expected);
    }

    void samplesTheMovieAtRoundedUpTimes_data()
    {
        QTest::addColumn<int>("rate1");
        QTest::addColumn<int>("rate2");
        QTest::addColumn<int>("frame");
        QTest::addColumn<qint64>("time");
        QTest::newRow("NTSC 0") << 30000 << 1001 << 0 << qint64(0);
        QTest::newRow("NTSC 1") << 30000 << 1001 << 1 << qint64(21);
        QTest::newRow("NTSC 2") << 30000 << 1001 << 2 << qint64(41);
        // The single-precision rate runs a hair slow: at frame 1000 the exact
        // rate would give 20020.
        QTest::newRow("NTSC 1000") << 30000 << 1001 << 1000 << qint64(20021);
        QTest::newRow("PAL 1") << 25 << 1 << 1 << qint64(24);
        QTest::newRow("PAL 50") << 25 << 1 << 50 << qint64(1200);
    }

    void samplesTheMovieAtRoundedUpTimes()
    {
        QFETCH(int, rate1);
        QFETCH(int, rate2);
        QFETCH(int, frame);
        QFETCH(qint64, time);
        QCOMPARE(VideoOutput::sampleTime(frame, VideoOutput::encodingRate(rate1, rate2), 600), time);
    }

    void choosesTheOutputFormat_data()
    {
        QTest::addColumn<bool>("vcd");
        QTest::addColumn<bool>("pal");
        QTest::addColumn<bool>("override");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<OutputFormat>("expected");
        QTest::newRow("VCD NTSC") << true << false << false << 0 << 0 << OutputFormat { 352, 240, 30000, 1001 };
        QTest::newRow("VCD PAL") << true << true << false << 0 << 0 << OutputFormat { 352, 288, 25, 1 };
        QTest::newRow("SVCD NTSC") << false << false << false << 0 << 0 << OutputFormat { 480, 480, 30000, 1001 };
        QTest::newRow("SVCD PAL") << false << true << false << 0 << 0 << OutputFormat { 480, 576, 25, 1 };
        QTest::newRow("override off ignores the fields")
            << true << false << false << 320 << 200 << OutputFormat { 352, 240, 30000, 1001 };
        QTest::newRow("width only keeps the height")
            << true << false << true << 320 << 0 << OutputFormat { 320, 240, 30000, 1001 };
        QTest::newRow("height only keeps the width")
            << false << true << true << 0 << 400 << OutputFormat { 480, 400, 25, 1 };
        QTest::newRow("rounded down to usable")
            << true << false << true << 323 << 201 << OutputFormat { 320, 200, 30000, 1001 };
        QTest::newRow("never below 16 x 16") << true << false << true << 3 << 1 << OutputFormat { 16, 16, 30000, 1001 };
        QTest::newRow("negative is no override")
            << true << true << true << -320 << -200 << OutputFormat { 352, 288, 25, 1 };
        QTest::newRow("absurd sizes capped")
            << true << false << true << 100000 << 99999 << OutputFormat { 4096, 4096, 30000, 1001 };
    }

    void choosesTheOutputFormat()
    {
        QFETCH(bool, vcd);
        QFETCH(bool, pal);
        QFETCH(bool, override);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(OutputFormat, expected);
        VideoSettings settings;
        settings.formatVCD = vcd;
        settings.formatPAL = pal;
        settings.framesizeOverride = override;
        settings.framesizeWidth = width;
        settings.framesizeHeight = height;
        QCOMPARE(OutputFormat::forSettings(settings), expected);
    }

    void readsTheLiveSettings()
    {
        SettingsModel model;
        const QVariantMap values { { "FormatVCD", 1 }, { "FormatPAL", 1 }, { "BitRate", 0 }, { "Quality", 90.6 },
            { "Lightness", 12.0 }, { "TVSafe", 1 }, { "Interlaced", 0 }, { "Framesize", 1 }, { "FramesizeW", 320 },
            { "FramesizeH", 0 } };
        for (auto it = values.begin(); it != values.end(); ++it)
            model.setValue(it.key(), it.value());
        VideoSettings settings = VideoSettings::fromModel(model);
        QVERIFY(settings.formatVCD && settings.formatPAL && settings.tvSafe && !settings.interlaced);
        QCOMPARE(settings.quality, 90); // the slider's whole value
        QCOMPARE(settings.lightness, 12);
        // An empty bit rate means 2500, even for VCD.
        QCOMPARE(settings.effectiveBitRate(), 2500);
        QCOMPARE(OutputFormat::forSettings(settings), (OutputFormat { 320, 288, 25, 1 }));

        // Only a check box that reads exactly 1 turns the override on.
        model.setValue(QStringLiteral("Framesize"), 2);
        settings = VideoSettings::fromModel(model);
        QCOMPARE(OutputFormat::forSettings(settings), (OutputFormat { 352, 288, 25, 1 }));
    }
};

QTEST_GUILESS_MAIN(TestFrameSetup)
#include "tst_framesetup.moc"
