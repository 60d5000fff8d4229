#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>

// One YUV4MPEG2 frame record, "FRAME\n" followed by the Y, Cb and Cr planes
// of a 4:2:0 picture, in one buffer that is made once and rewritten for
// every frame so that it goes to the encoder in one write.
class FrameRecord {
public:
    // The stream header: progressive, square samples (the encoder is told the
    // display aspect separately).
    static QByteArray streamHeader(int width, int height, int rate1, int rate2);

    // Far beyond any disc, and small enough that frame buffers stay sane.
    static constexpr int kLargestSide = 4096;

    // Whether frames of width x height can be carried: both even, positive
    // and at most kLargestSide.
    static bool usableSize(int width, int height);

    // Makes the buffer for frames of a usable size; false when the size is
    // not usable or the memory cannot be had.
    bool allocate(int width, int height);
    bool isAllocated() const { return bool(mBuffer); }

    // Paints the whole picture black (Y 16, Cb and Cr 128).
    void fillBlack();

    uint8_t* yPlane() { return mBuffer.get() + kTagSize; }
    uint8_t* cbPlane() { return yPlane() + mLumaSize; }
    uint8_t* crPlane() { return cbPlane() + mLumaSize / 4; }

    const char* data() const { return reinterpret_cast<const char*>(mBuffer.get()); }
    qint64 size() const { return kTagSize + mLumaSize + mLumaSize / 2; }

private:
    static constexpr qint64 kTagSize = 6;

    std::unique_ptr<uint8_t[]> mBuffer;
    qint64 mLumaSize = 0;
};
