#include "movtoy4m/ColourConverter.h"

#include <cstddef>

namespace {

constexpr int kShift = 14;
constexpr double kOne = 1 << kShift;

struct ColourTables {
    int32_t yR[256], yG[256], yB[256];
    int32_t cbR[256], cbG[256], cbB[256];
    int32_t crR[256], crG[256], crB[256];

    ColourTables()
    {
        for (int i = 0; i < 256; ++i) {
            // Truncation toward zero, as the integer casts do.
            yR[i] = int32_t(i * 0.257 * kOne);
            yG[i] = int32_t(i * 0.504 * kOne);
            yB[i] = int32_t(i * 0.098 * kOne);
            cbR[i] = int32_t(i * -0.148 * kOne);
            cbG[i] = int32_t(i * -0.291 * kOne);
            cbB[i] = int32_t(i * 0.439 * kOne);
            crR[i] = int32_t(i * 0.439 * kOne);
            crG[i] = int32_t(i * -0.368 * kOne);
            crB[i] = int32_t(i * -0.071 * kOne);
        }
    }
};

const ColourTables& tables()
{
    static const ColourTables built;
    return built;
}

constexpr int32_t kLumaOffset = 16 << kShift;
constexpr int32_t kChromaOffset = 128 << kShift;

inline unsigned red(uint32_t p)
{
    return (p >> 16) & 0xff;
}
inline unsigned green(uint32_t p)
{
    return (p >> 8) & 0xff;
}
inline unsigned blue(uint32_t p)
{
    return p & 0xff;
}

// Rounded-down average of each 8-bit channel of two pixels at once.
inline uint32_t average(uint32_t a, uint32_t b)
{
    return (((a ^ b) & 0xfefefefeu) >> 1) + (a & b);
}

inline uint8_t luma(const ColourTables& t, uint32_t p)
{
    return uint8_t((t.yR[red(p)] + t.yG[green(p)] + t.yB[blue(p)] + kLumaOffset) >> kShift);
}

inline const uint32_t* rowAt(const uint32_t* pixels, int rowBytes, int row)
{
    return reinterpret_cast<const uint32_t*>(reinterpret_cast<const char*>(pixels) + ptrdiff_t(row) * rowBytes);
}

} // namespace

void ColourConverter::initialize()
{
    tables();
}

void ColourConverter::convert(
    const uint32_t* pixels, int rowBytes, int width, int height, uint8_t* y, uint8_t* cb, uint8_t* cr)
{
    const ColourTables& t = tables();
    for (int row = 0; row + 1 < height; row += 2) {
        const uint32_t* top = rowAt(pixels, rowBytes, row);
        const uint32_t* bottom = rowAt(pixels, rowBytes, row + 1);
        uint8_t* yTop = y + ptrdiff_t(row) * width;
        uint8_t* yBottom = yTop + width;
        for (int x = 0; x + 1 < width; x += 2) {
            const uint32_t a = top[x], b = top[x + 1], c = bottom[x], d = bottom[x + 1];
            yTop[x] = luma(t, a);
            yTop[x + 1] = luma(t, b);
            yBottom[x] = luma(t, c);
            yBottom[x + 1] = luma(t, d);
            const uint32_t m = average(average(a, b), average(c, d));
            *cb++ = uint8_t((t.cbR[red(m)] + t.cbG[green(m)] + t.cbB[blue(m)] + kChromaOffset) >> kShift);
            *cr++ = uint8_t((t.crR[red(m)] + t.crG[green(m)] + t.crB[blue(m)] + kChromaOffset) >> kShift);
        }
    }
}
