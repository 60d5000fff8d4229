#pragma once

#include <QFile>
#include <QString>

#include <cstdint>

// Writes 16-bit PCM stereo 44100 Hz sound as a WAV file with the plain
// 44-byte header whose sizes are filled in when the file is finished: the
// MPEG audio encoder refuses a header without the real sizes.
class WavFileWriter {
public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * 2;
    static constexpr int kHeaderSize = 44;

    explicit WavFileWriter(const QString& path);
    ~WavFileWriter(); // removes an unfinished file

    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    bool open();
    // Interleaved samples in the machine's byte order.
    bool write(const int16_t* samples, int frames);
    bool writeSilence(int64_t frames);
    // Fills in the sizes and closes the file.
    bool finish();
    // Closes and removes the file.
    void discard();

    int64_t framesWritten() const { return mDataBytes / kBytesPerFrame; }
    QString errorString() const;

private:
    bool writeHeader();

    QFile mFile;
    int64_t mDataBytes = 0;
    bool mCreated = false;
    bool mFinished = false;
    bool mTooLong = false;
};
