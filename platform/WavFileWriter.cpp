#include "platform/WavFileWriter.h"

#include <QCoreApplication>
#include <QtEndian>

#include <vector>

namespace {

// The header's sizes are 32-bit: the RIFF size counts 36 header bytes too.
constexpr int64_t kMaxDataBytes = 0xFFFFFFFFLL - 36;

void putTag(uint8_t* at, const char* tag)
{
    memcpy(at, tag, 4);
}

} // namespace

WavFileWriter::WavFileWriter(const QString& path)
    : mFile(path)
{
}

WavFileWriter::~WavFileWriter()
{
    if (!mFinished)
        discard();
}

bool WavFileWriter::open()
{
    mDataBytes = 0;
    mCreated = mFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    return mCreated && writeHeader();
}

bool WavFileWriter::writeHeader()
{
    uint8_t header[kHeaderSize];
    const uint32_t dataBytes = uint32_t(mDataBytes);
    putTag(header, "RIFF");
    qToLittleEndian<uint32_t>(36 + dataBytes, header + 4);
    putTag(header + 8, "WAVE");
    putTag(header + 12, "fmt ");
    qToLittleEndian<uint32_t>(16, header + 16);
    qToLittleEndian<uint16_t>(1, header + 20); // PCM
    qToLittleEndian<uint16_t>(kChannels, header + 22);
    qToLittleEndian<uint32_t>(kSampleRate, header + 24);
    qToLittleEndian<uint32_t>(kSampleRate * kBytesPerFrame, header + 28);
    qToLittleEndian<uint16_t>(kBytesPerFrame, header + 32);
    qToLittleEndian<uint16_t>(16, header + 34);
    putTag(header + 36, "data");
    qToLittleEndian<uint32_t>(dataBytes, header + 40);
    return mFile.write(reinterpret_cast<const char*>(header), kHeaderSize) == kHeaderSize;
}

bool WavFileWriter::write(const int16_t* samples, int frames)
{
    const int64_t bytes = int64_t(frames) * kBytesPerFrame;
    if (mDataBytes + bytes > kMaxDataBytes) {
        mTooLong = true;
        return false;
    }
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    std::vector<int16_t> little(samples, samples + size_t(frames) * kChannels);
    qToLittleEndian<int16_t>(little.data(), little.size(), little.data());
    samples = little.data();
#endif
    if (mFile.write(reinterpret_cast<const char*>(samples), bytes) != bytes)
        return false;
    mDataBytes += bytes;
    return true;
}

bool WavFileWriter::writeSilence(int64_t frames)
{
    constexpr int kChunkFrames = 4096;
    const std::vector<int16_t> silence(size_t(kChunkFrames) * kChannels, 0);
    while (frames > 0) {
        const int chunk = int(std::min<int64_t>(frames, kChunkFrames));
        if (!write(silence.data(), chunk))
            return false;
        frames -= chunk;
    }
    return true;
}

bool WavFileWriter::finish()
{
    if (!mFile.isOpen() || !mFile.seek(0) || !writeHeader() || !mFile.flush())
        return false;
    mFile.close();
    mFinished = mFile.error() == QFileDevice::NoError;
    return mFinished;
}

void WavFileWriter::discard()
{
    mFile.close();
    if (mCreated)
        mFile.remove();
    mCreated = false;
}

QString WavFileWriter::errorString() const
{
    if (mTooLong)
        return QCoreApplication::translate("WavFileWriter", "The sound is too long for a WAV file.");
    return mFile.errorString();
}
