// A 700 MB Video CD layout (three raw Mode 2 tracks) burned to the "Disc
// Image File" recorder: once served from memory (the layer's own cost plus
// the disk), once read from image files as a real burn reads them. Prints
// MB/s; the target is well under 30 s for the whole layout.
//
//   cmake --build build --target bench_burn && build/bin/bench_burn

#include "platform/BurnSession.h"
#include "platform/DRBurn.h"
#include "platform/DRDevice.h"
#include "platform/DRTrack.h"
#include "platform/DRTrackProducer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr uint64_t kLayoutBytes = 700ull * 1000 * 1000;
constexpr uint32_t kBlock = 2352;
constexpr int kTracks = 3;

// Every track the same length; data from memory or from one file per track.
class BenchProducer : public DRTrackProducer {
public:
    explicit BenchProducer(const QStringList& files)
        : mFiles(files)
        , mPattern(size_t(kBlock) * 1024, 'v')
    {
    }

    DRLayout layout(const std::shared_ptr<BenchProducer>& self, uint64_t blocksPerTrack)
    {
        DRLayout tracks;
        for (int i = 0; i < kTracks; ++i) {
            auto track = std::make_shared<DRTrack>(self);
            track->setProperties({ { DRTrackLengthKey, quint64(blocksPerTrack) }, { DRBlockSizeKey, kBlock },
                { DRSessionFormatKey, 0x20 }, { DRDataFormKey, 0x21 }, { DRTrackModeKey, 4 },
                { DRPreGapLengthKey, quint64(150) } });
            mIndex.insert(track.get(), i);
            tracks.append(track);
        }
        return tracks;
    }

    uint64_t estimateLengthOfTrack(DRTrack* track) override { return track->length(); }
    bool prepareTrack(DRTrack* track, DRBurn*, const QVariantMap&) override
    {
        if (mFiles.isEmpty())
            return true;
        const int fd = ::open(QFile::encodeName(mFiles.at(mIndex.value(track))).constData(), O_RDONLY);
        mDescriptors.insert(track, fd);
        return fd >= 0;
    }
    uint32_t producePreGapForTrack(DRTrack*, char* buffer, uint32_t length, uint64_t, uint32_t, uint32_t*) override
    {
        std::memset(buffer, 0, length);
        return length;
    }
    uint32_t produceDataForTrack(
        DRTrack* track, char* buffer, uint32_t length, uint64_t address, uint32_t, uint32_t*) override
    {
        if (mFiles.isEmpty()) {
            const uint32_t count = std::min<uint32_t>(length, uint32_t(mPattern.size()));
            std::memcpy(buffer, mPattern.data(), count);
            return count;
        }
        const ssize_t count = ::pread(mDescriptors.value(track), buffer, length, off_t(address));
        return count > 0 ? uint32_t(count) : 0;
    }
    void cleanupTrackAfterBurn(DRTrack* track) override
    {
        if (mDescriptors.contains(track))
            ::close(mDescriptors.take(track));
    }

private:
    QStringList mFiles;
    std::vector<char> mPattern;
    QHash<const DRTrack*, int> mIndex;
    QHash<const DRTrack*, int> mDescriptors;
};

bool writeSourceFile(const QString& path, uint64_t bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray chunk(int(kBlock) * 1024, 's');
    for (uint64_t written = 0; written < bytes; written += uint64_t(chunk.size()))
        file.write(chunk.constData(), qint64(std::min<uint64_t>(uint64_t(chunk.size()), bytes - written)));
    return file.flush();
}

void burn(const char* label, const QStringList& sources, const QString& imageFile, uint64_t blocksPerTrack)
{
    auto producer = std::make_shared<BenchProducer>(sources);
    auto burnObject = std::make_shared<DRBurn>(DRDevice::discImageFileDevice());
    burnObject->setImageFile(imageFile);
    BurnSession session(burnObject, producer->layout(producer, blocksPerTrack));
    QElapsedTimer timer;
    timer.start();
    const DiscJobResult result = session.run();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double megabytes = double(QFile(imageFile).size()) / 1e6;
    std::printf("%-28s %s  %7.1f MB in %6.2f s  %7.1f MB/s\n", label, result.succeeded() ? "ok    " : "FAILED",
        megabytes, seconds, megabytes / seconds);
    if (!result.succeeded())
        std::printf("  %s\n", qPrintable(result.message));
    QFile::remove(imageFile);
    QFile::remove(QString(imageFile).replace(QStringLiteral(".bin"), QStringLiteral(".cue")));
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(QDir::current().filePath(QStringLiteral("bench-burn-XXXXXX")));
    const uint64_t blocksPerTrack = kLayoutBytes / kBlock / kTracks;

    QStringList sources;
    for (int i = 1; i <= kTracks; ++i) {
        sources.append(dir.filePath(QStringLiteral("source_%1.img").arg(i)));
        if (!writeSourceFile(sources.last(), blocksPerTrack * kBlock))
            return 1;
    }
    std::printf("700 MB Video CD layout to the Disc Image File recorder (%d tracks)\n", kTracks);
    burn("from memory", {}, dir.filePath(QStringLiteral("memory.bin")), blocksPerTrack);
    burn("from image files (pread)", sources, dir.filePath(QStringLiteral("files.bin")), blocksPerTrack);
    return 0;
}
