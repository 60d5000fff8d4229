#pragma once

#include "platform/FfmpegPointers.h"
#include "platform/Movie.h"

#include <QString>

#include <functional>
#include <memory>

class MovieFile;
class WavFileWriter;

// Exports a movie's first enabled sound track as a WAV file of 16-bit
// stereo at 44100 Hz, whatever the track's layout and rate. The movie is read
// from its start in small pieces, so memory stays flat however long it is.
class SoundExporter {
public:
    using Progress = std::function<bool(int percent)>;

    explicit SoundExporter(MovieFile* file);
    ~SoundExporter();

    Movie::ExportResult run(const QString& wavPath, const Progress& progress, QString* error = nullptr);

private:
    bool openDecoder(QString* error);
    Movie::ExportResult decodeAll(const Progress& progress);
    bool readAndSend();
    bool convert(const AVFrame* frame);
    bool prepareResampler(const AVFrame* frame);
    bool drainResampler();
    bool writeConverted(const uint8_t* const* input, int inputSamples);
    bool reportProgress(const AVFrame* frame, const Progress& progress);

    MovieFile* mFile;
    int mStreamIndex = -1;
    CodecContextPtr mCodec;
    SwrContextPtr mResampler;
    AVChannelLayout mResamplerLayout {};
    int mResamplerRate = 0;
    int mResamplerFormat = -1;
    std::unique_ptr<WavFileWriter> mWriter;
    std::vector<int16_t> mConverted;
    bool mStarted = false; // the first samples have been placed on the movie's clock
    int mPercent = -1;
    bool mWriteFailed = false;
};
