// Serves a 700 MB Video CD layout through VCDBurner's producer calls into
// /dev/null, as a burn would, and prints the rate: once with the image files
// dropped from the page cache (read from the disk) and once from the cache.
// Usage: bench_producer [folder for the 700 MB of image files]

#include "VCDBurner/VCDBurner.h"

#include "common/RawSectors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kMegabyte = 1000 * 1000;
constexpr qint64 kImageBytes = 700 * kMegabyte;

struct Image
{
    QString toc;
    QStringList files;
};

// Track 1 as vcdxbuild writes it, then two movie tracks with 150-block
// pregap files, 700 MB in all.
Image writeImage(const QString &folder)
{
    const qint64 firstTrackBlocks = 300;
    const qint64 preGapBlocks = 150;
    const qint64 movieBlocks = (kImageBytes / VCDBurner::kBlockSize - firstTrackBlocks) / 2 - preGapBlocks;
    const QList<QList<QPair<QString, qint64>>> tracks {
        { { QStringLiteral("Kestrin_01.img"), firstTrackBlocks } },
        { { QStringLiteral("Kestrin_02_pregap.img"), preGapBlocks },
            { QStringLiteral("Kestrin_02.img"), movieBlocks } },
        { { QStringLiteral("Kestrin_03_pregap.img"), preGapBlocks },
            { QStringLiteral("Kestrin_03.img"), movieBlocks } },
    };
    Image image { folder + QStringLiteral("/Kestrin.toc"), {} };
    QByteArray toc = "CD_ROM_XA\n";
    for (const auto &track : tracks) {
        toc += "TRACK MODE2_RAW\n";
        for (const auto &[name, blocks] : track) {
            const QString path = folder + QLatin1Char('/') + name;
            if (!RawSectors::write(path, blocks, int(image.files.size())))
                return {};
            image.files.append(path);
            toc += "DATAFILE \"" + path.toUtf8() + "\"\n";
        }
    }
    RawSectors::writeBytes(image.toc, toc);
    return image;
}

void dropFromPageCache(const QStringList &files)
{
    for (const QString &path : files) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (descriptor >= 0) {
            fdatasync(descriptor);
            posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
            ::close(descriptor);
        }
    }
}

// Writes every pregap and data byte of `part` to `sink`; answers the bytes.
qint64 servePart(VCDBurner &burner, DRTrack *track, bool preGap, QByteArray &buffer, int sink)
{
    const uint64_t blocks = track->properties().value(preGap ? DRPreGapLengthKey : DRTrackLengthKey).toULongLong();
    const uint64_t total = blocks * VCDBurner::kBlockSize;
    uint64_t address = 0;
    while (address < total) {
        const uint32_t length = uint32_t(std::min<uint64_t>(buffer.size(), total - address));
        uint32_t flags = 0;
        const uint32_t placed = preGap
            ? burner.producePreGapForTrack(track, buffer.data(), length, address, VCDBurner::kBlockSize, &flags)
            : burner.produceDataForTrack(track, buffer.data(), length, address, VCDBurner::kBlockSize, &flags);
        if (placed == 0 || ::write(sink, buffer.constData(), placed) != ssize_t(placed))
            return -1;
        address += placed;
    }
    return qint64(total);
}

double serveLayout(const Image &image, qint64 blocksAtOnce, qint64 *bytes)
{
    QString reason;
    std::optional<DRLayout> layout = VCDBurner::layoutForCDRDAOTOC(image.toc, &reason);
    if (!layout) {
        std::fprintf(stderr, "no layout: %s\n", qPrintable(reason));
        return 0;
    }
    auto *burner = static_cast<VCDBurner *>(layout->first()->producer());
    const int sink = ::open("/dev/null", O_WRONLY);
    QByteArray buffer(blocksAtOnce * VCDBurner::kBlockSize, Qt::Uninitialized);
    QElapsedTimer timer;
    timer.start();
    *bytes = 0;
    for (const auto &track : *layout) {
        if (!burner->prepareTrack(track.get(), nullptr, {}))
            return 0;
        *bytes += servePart(*burner, track.get(), true, buffer, sink);
        *bytes += servePart(*burner, track.get(), false, buffer, sink);
        burner->cleanupTrackAfterBurn(track.get());
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    ::close(sink);
    return seconds;
}

// The same files read one after another with read(2), for the disk's own
// speed beside the producer's.
double readPlainly(const Image &image, qint64 blocksAtOnce, qint64 *bytes)
{
    QByteArray buffer(blocksAtOnce * VCDBurner::kBlockSize, Qt::Uninitialized);
    QElapsedTimer timer;
    timer.start();
    *bytes = 0;
    for (const QString &path : image.files) {
        const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ssize_t got;
        while ((got = ::read(descriptor, buffer.data(), buffer.size())) > 0)
            *bytes += got;
        ::close(descriptor);
    }
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *what, const Image &image, qint64 blocksAtOnce, double (*serve)(const Image &, qint64, qint64 *))
{
    qint64 bytes = 0;
    const double seconds = serve(image, blocksAtOnce, &bytes);
    std::printf("%-22s %5lld blocks a call: %7.1f MB in %6.3f s = %8.1f MB/s\n", what, blocksAtOnce,
        double(bytes) / kMegabyte, seconds, seconds > 0 ? bytes / seconds / kMegabyte : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const auto scratch = arguments.size() > 1
        ? std::make_unique<QTemporaryDir>(arguments.at(1) + QStringLiteral("/bench_producer-XXXXXX"))
        : std::make_unique<QTemporaryDir>();
    const Image image = writeImage(scratch->path());
    if (image.files.isEmpty()) {
        std::fprintf(stderr, "could not write the image files in %s\n", qPrintable(scratch->path()));
        return 1;
    }
    for (qint64 blocksAtOnce : { 32, 256 }) {
        dropFromPageCache(image.files);
        report("producer, disk", image, blocksAtOnce, serveLayout);
        report("producer, page cache", image, blocksAtOnce, serveLayout);
        dropFromPageCache(image.files);
        report("read(2), disk", image, blocksAtOnce, readPlainly);
        report("read(2), page cache", image, blocksAtOnce, readPlainly);
    }
    return 0;
}
