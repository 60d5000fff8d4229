#include "movtoy4m/ColourConverter.h"

#include <QTest>

#include <vector>

namespace {

constexpr uint32_t argb(int r, int g, int b)
{
    return 0xff000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

struct Planes {
    std::vector<uint8_t> y, cb, cr;
};

// Converts a frame whose rows carry `padding` extra words of junk, so that a
// converter that ignores the row stride reads the junk.
Planes convert(const std::vector<uint32_t>& pixels, int width, int height, int padding = 0)
{
    const int stride = width + padding;
    std::vector<uint32_t> frame(size_t(stride) * height, 0x12345678u);
    for (int row = 0; row < height; ++row)
        std::copy_n(pixels.begin() + row * width, width, frame.begin() + row * stride);
    Planes planes { std::vector<uint8_t>(size_t(width) * height), std::vector<uint8_t>(size_t(width) * height / 4),
        std::vector<uint8_t>(size_t(width) * height / 4) };
    ColourConverter::convert(
        frame.data(), stride * 4, width, height, planes.y.data(), planes.cb.data(), planes.cr.data());
    return planes;
}

} // namespace

class TestColourConverter : public QObject {
    Q_OBJECT

private slots:
    void convertsPlainColours_data()
    {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("cb");
        QTest::addColumn<int>("cr");
        QTest::newRow("white") << uint(argb(255, 255, 255)) << 235 << 128 << 128;
        QTest::newRow("black") << uint(argb(0, 0, 0)) << 16 << 128 << 128;
        QTest::newRow("red") << uint(argb(255, 0, 0)) << 81 << 90 << 239;
        QTest::newRow("green") << uint(argb(0, 255, 0)) << 144 << 53 << 34;
        QTest::newRow("blue") << uint(argb(0, 0, 255)) << 40 << 239 << 109;
        QTest::newRow("alpha is ignored") << uint(0x00ff0000u) << 81 << 90 << 239;
    }

    void convertsPlainColours()
    {
        QFETCH(uint, colour);
        QFETCH(int, y);
        QFETCH(int, cb);
        QFETCH(int, cr);
        const Planes planes = convert(std::vector<uint32_t>(4 * 2, colour), 4, 2);
        QCOMPARE(planes.y, std::vector<uint8_t>(8, uint8_t(y)));
        QCOMPARE(planes.cb, std::vector<uint8_t>(2, uint8_t(cb)));
        QCOMPARE(planes.cr, std::vector<uint8_t>(2, uint8_t(cr)));
    }

    // Four 2 x 2 blocks: white; red over blue; black; one brown. The chroma of
    // a block comes from its averaged colour, and the planes are laid out
    // in raster order whatever the row stride.
    void averagesEachBlockAndKeepsRasterOrder()
    {
        const uint32_t w = argb(255, 255, 255), r = argb(255, 0, 0), b = argb(0, 0, 255), k = argb(0, 0, 0),
                       n = argb(128, 64, 32);
        const std::vector<uint32_t> pixels { w, w, r, r, //
            w, w, b, b, //
            k, k, n, n, //
            k, k, n, n };
        const Planes planes = convert(pixels, 4, 4, 3);
        QCOMPARE(
            planes.y, (std::vector<uint8_t> { 235, 235, 81, 81, 235, 235, 40, 40, 16, 16, 84, 84, 16, 16, 84, 84 }));
        // Red over blue averages to (127, 0, 127), rounded down per channel.
        QCOMPARE(planes.cb, (std::vector<uint8_t> { 128, 164, 128, 104 }));
        QCOMPARE(planes.cr, (std::vector<uint8_t> { 128, 174, 128, 158 }));
    }

    void averagesRoundDownPerChannel()
    {
        // (255, 1, 0) over (0, 0, 255): a carry from one channel must not
        // leak into the next.
        const uint32_t top = argb(255, 1, 0), bottom = argb(0, 0, 255);
        const Planes planes = convert({ top, top, bottom, bottom }, 2, 2);
        QCOMPARE(planes.cb, std::vector<uint8_t> { 164 });
        QCOMPARE(planes.cr, std::vector<uint8_t> { 174 });
    }
};

QTEST_GUILESS_MAIN(TestColourConverter)
#include "tst_colourconverter.moc"
