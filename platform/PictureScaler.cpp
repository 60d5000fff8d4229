#include "platform/PictureScaler.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace {

// Bicubic keeps the picture sharp when it is made smaller or larger and
// costs nothing extra at the picture's own size.
constexpr int kScaleFlags = SWS_BICUBIC;

// Rows of the scaled picture are a multiple of this many pixels, with room to spare.
constexpr int kRowPadding = 64;

bool isFullRange(const AVFrame* picture)
{
    switch (picture->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return picture->color_range == AVCOL_RANGE_JPEG;
    }
}

// Pictures that do not say which colours they use follow the habit of their
// size: standard definition uses BT.601, high definition BT.709.
int colorSpaceOf(const AVFrame* picture)
{
    if (picture->colorspace != AVCOL_SPC_UNSPECIFIED && picture->colorspace != AVCOL_SPC_RESERVED)
        return picture->colorspace;
    return picture->height >= 720 ? SWS_CS_ITU709 : SWS_CS_ITU601;
}

uint32_t* row(uint32_t* pixels, int bytesPerLine, int y)
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) + qsizetype(y) * bytesPerLine);
}

} // namespace

bool PictureScaler::draw(const AVFrame* picture, int rotation, const QSize& size, uint32_t* pixels, int bytesPerLine)
{
    if (size.isEmpty() || !pixels)
        return false;
    const QSize unturned = rotation == 90 || rotation == 270 ? size.transposed() : size;
    if (!prepare(picture, unturned) || !scale(picture, unturned))
        return false;
    if (rotation == 0)
        copy(size, pixels, bytesPerLine);
    else
        rotate(rotation, size, pixels, bytesPerLine);
    return true;
}

bool PictureScaler::prepare(const AVFrame* picture, const QSize& target)
{
    const Setup setup { picture->width, picture->height, picture->format, colorSpaceOf(picture), isFullRange(picture),
        target };
    if (mContext && setup == mSetup)
        return true;
    mContext.reset(sws_getContext(picture->width, picture->height, AVPixelFormat(picture->format), target.width(),
        target.height(), AV_PIX_FMT_RGB32, kScaleFlags, nullptr, nullptr, nullptr));
    if (!mContext)
        return false;
    // Fails harmlessly for pictures that are RGB already.
    sws_setColorspaceDetails(mContext.get(), sws_getCoefficients(setup.colorSpace), setup.fullRange ? 1 : 0,
        sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    mSetup = setup;
    return true;
}

bool PictureScaler::scale(const AVFrame* picture, const QSize& target)
{
    mScaledStride = (target.width() + kRowPadding) / kRowPadding * kRowPadding;
    mScaled.resize(size_t(mScaledStride) * (target.height() + 1));
    uint8_t* destination[4] = { reinterpret_cast<uint8_t*>(mScaled.data()), nullptr, nullptr, nullptr };
    const int destinationStrides[4] = { mScaledStride * 4, 0, 0, 0 };
    return sws_scale(
               mContext.get(), picture->data, picture->linesize, 0, picture->height, destination, destinationStrides)
        > 0;
}

void PictureScaler::copy(const QSize& size, uint32_t* pixels, int bytesPerLine) const
{
    for (int y = 0; y < size.height(); ++y)
        memcpy(row(pixels, bytesPerLine, y), mScaled.data() + size_t(y) * mScaledStride, size_t(size.width()) * 4);
}

// Turns the scaled picture into `pixels` (`size`).
void PictureScaler::rotate(int rotation, const QSize& size, uint32_t* pixels, int bytesPerLine) const
{
    const int width = size.width();
    const int height = size.height();
    const uint32_t* source = mScaled.data();
    const size_t stride = size_t(mScaledStride);
    for (int y = 0; y < height; ++y) {
        uint32_t* target = row(pixels, bytesPerLine, y);
        switch (rotation) {
        case 90: // the source's right column becomes the top row
            for (int x = 0; x < width; ++x)
                target[x] = source[x * stride + (height - 1 - y)];
            break;
        case 270: // the source's left column, read upwards, becomes the top row
            for (int x = 0; x < width; ++x)
                target[x] = source[(width - 1 - x) * stride + y];
            break;
        default: // 180
            for (int x = 0; x < width; ++x)
                target[x] = source[(height - 1 - y) * stride + (width - 1 - x)];
            break;
        }
    }
}
