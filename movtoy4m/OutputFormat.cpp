#include "movtoy4m/OutputFormat.h"

#include "movtoy4m/FrameRecord.h"

#include <algorithm>

namespace {

constexpr int kSmallestSide = 16;

int usableSide(int side, int multiple)
{
    if (side <= 0)
        return 0;
    return std::clamp(side - side % multiple, kSmallestSide, FrameRecord::kLargestSide);
}

} // namespace

OutputFormat OutputFormat::forDisc(bool formatVCD, bool formatPAL)
{
    const int width = formatVCD ? 352 : 480;
    if (formatPAL)
        return { width, formatVCD ? 288 : 576, 25, 1 };
    return { width, formatVCD ? 240 : 480, 30000, 1001 };
}

OutputFormat OutputFormat::forSettings(const VideoSettings& settings)
{
    OutputFormat format = forDisc(settings.formatVCD, settings.formatPAL);
    if (settings.framesizeOverride) {
        if (const int width = usableWidth(settings.framesizeWidth))
            format.width = width;
        if (const int height = usableHeight(settings.framesizeHeight))
            format.height = height;
    }
    return format;
}

int OutputFormat::usableWidth(int width)
{
    return usableSide(width, 4);
}

int OutputFormat::usableHeight(int height)
{
    return usableSide(height, 2);
}
