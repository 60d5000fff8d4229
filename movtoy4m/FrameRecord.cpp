#include "movtoy4m/FrameRecord.h"

#include <cstring>
#include <new>

QByteArray FrameRecord::streamHeader(int width, int height, int rate1, int rate2)
{
    return QByteArrayLiteral("YUV4MPEG2 W") + QByteArray::number(width) + " H" + QByteArray::number(height) + " F"
        + QByteArray::number(rate1) + ':' + QByteArray::number(rate2) + " Ip A1:1\n";
}

bool FrameRecord::usableSize(int width, int height)
{
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide && width % 2 == 0
        && height % 2 == 0;
}

bool FrameRecord::allocate(int width, int height)
{
    mBuffer.reset();
    mLumaSize = 0;
    if (!usableSize(width, height))
        return false;
    const qint64 lumaSize = qint64(width) * height;
    mBuffer.reset(new (std::nothrow) uint8_t[size_t(kTagSize + lumaSize + lumaSize / 2)]);
    if (!mBuffer)
        return false;
    mLumaSize = lumaSize;
    std::memcpy(mBuffer.get(), "FRAME\n", kTagSize);
    return true;
}

void FrameRecord::fillBlack()
{
    std::memset(yPlane(), 16, size_t(mLumaSize));
    std::memset(cbPlane(), 128, size_t(mLumaSize / 2));
}
