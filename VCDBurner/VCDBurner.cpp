#include "VCDBurner/VCDBurner.h"

#include "VCDBurner/CDRDAOTOCReader.h"
#include "platform/DRBurn.h"
#include "platform/DRVersion.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Values the disc-recording layer reads as a raw 2352-byte Mode 2 track of
// a CD-ROM XA session, written without verification.
constexpr int kBlockTypeRaw = 0;
constexpr int kDataFormRawXA = 0x21;
constexpr int kSessionFormatXA = 0x20;
constexpr int kTrackModeData = 4;

// A CD-ROM XA sector carries its 4-byte subheader twice, at bytes 16 and 20.
constexpr qint64 kSubheaderOffset = 16;
constexpr qint64 kSubheaderSize = 4;

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

uint64_t blocksInFile(const QString &path)
{
    return uint64_t(QFileInfo(path).size()) / VCDBurner::kBlockSize;
}

bool subheaderCopiesMatch(const QString &trackFilePath, QString *reason)
{
    QFile file(trackFilePath);
    const QByteArray sector = file.open(QIODevice::ReadOnly) ? file.read(VCDBurner::kBlockSize) : QByteArray();
    if (sector.size() != qsizetype(VCDBurner::kBlockSize)) {
        setReason(reason, QStringLiteral("The first sector of \"%1\" cannot be read").arg(trackFilePath));
        return false;
    }
    if (sector.mid(kSubheaderOffset, kSubheaderSize) != sector.mid(kSubheaderOffset + kSubheaderSize, kSubheaderSize)) {
        setReason(
            reason, QStringLiteral("The subheader copies differ in the first sector of \"%1\"").arg(trackFilePath));
        return false;
    }
    return true;
}

// The track's last file holds its data; with two or more files the first
// holds its pregap (never used for track 1, whose pregap is 150 zero blocks).
// Files between them are not part of the disc.
TrackContext contextForTrack(uint32_t trackNumber, const QStringList &files)
{
    TrackContext context;
    context.trackNumber = trackNumber;
    context.trackFilePath = files.last();
    context.trackLength = blocksInFile(context.trackFilePath);
    if (trackNumber > 1 && files.size() >= 2) {
        context.pregapLength = blocksInFile(files.first());
        if (context.pregapLength > 0)
            context.pregapFilePath = files.first();
    }
    return context;
}

QVariantMap trackProperties(const TrackContext &context)
{
    const uint64_t preGapLength = context.trackNumber == 1 ? VCDBurner::kFirstTrackPreGapLength : context.pregapLength;
    return {
        { DRTrackLengthKey, QVariant::fromValue<quint64>(context.trackLength) },
        { DRBlockSizeKey, VCDBurner::kBlockSize },
        { DRBlockTypeKey, kBlockTypeRaw },
        { DRDataFormKey, kDataFormRawXA },
        { DRSessionFormatKey, kSessionFormatXA },
        { DRTrackModeKey, kTrackModeData },
        { DRVerificationTypeKey, DRVerificationTypeNone },
        { DRPreGapLengthKey, QVariant::fromValue<quint64>(preGapLength) },
    };
}

} // namespace

VCDBurner::VCDBurner(Passkey, const QList<QStringList> &trackList)
    : mTrackList(trackList)
{ }

VCDBurner::~VCDBurner()
{
    for (const TrackContext &context : std::as_const(mContext)) {
        closeFileDescriptor(context.pregapFileDescriptor);
        closeFileDescriptor(context.trackFileDescriptor);
    }
}

std::optional<DRLayout> VCDBurner::layoutForCDRDAOTOC(const QString &tocPath, QString *reason)
{
    const std::shared_ptr<VCDBurner> reader = initWithCDRDAOTOC(tocPath, reason);
    return reader ? reader->layout(reason) : std::nullopt;
}

std::shared_ptr<VCDBurner> VCDBurner::initWithCDRDAOTOC(const QString &tocPath, QString *reason)
{
    const uint32_t version = DRGetVersion();
    if (!serviceVersionIsSupported(version)) {
        setReason(reason, QStringLiteral("The disc-recording layer is too old (version %1)").arg(version, 8, 16));
        return nullptr;
    }
    raiseOpenFileLimit();
    const CDRDAOTOCReader::Result toc = CDRDAOTOCReader::read(tocPath);
    if (!toc.succeeded()) {
        setReason(reason, toc.reason);
        return nullptr;
    }
    return std::make_shared<VCDBurner>(Passkey(), toc.trackList);
}

bool VCDBurner::serviceVersionIsSupported(uint32_t version)
{
    return version > kOldestServiceVersion;
}

// Each burning track holds its files open until its clean-up.
void VCDBurner::raiseOpenFileLimit()
{
    rlimit limit;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

DRBurn *VCDBurner::modifyBurnProperties(DRBurn *burn)
{
    QVariantMap properties = burn->properties();
    properties.insert(DRBurnVerifyDiscKey, false);
    properties.insert(DRBurnStrategyIsRequiredKey, true);
    properties.insert(DRBurnStrategyKey, DRBurnStrategyCDSAO);
    burn->setProperties(properties);
    return burn;
}

std::optional<DRLayout> VCDBurner::layout(QString *reason)
{
    if (mTrackList.isEmpty()) {
        setReason(reason, QStringLiteral("The CDRDAO TOC file has no track with a DATAFILE"));
        return std::nullopt;
    }
    DRLayout tracks;
    for (qsizetype i = 0; i < mTrackList.size(); ++i) {
        std::shared_ptr<DRTrack> track = layoutTrack(uint32_t(i + 1), mTrackList.at(i), reason);
        if (!track) {
            forgetTracks(tracks);
            return std::nullopt;
        }
        tracks.append(track);
    }
    return tracks;
}

std::shared_ptr<DRTrack> VCDBurner::layoutTrack(uint32_t trackNumber, const QStringList &files, QString *reason)
{
    if (files.isEmpty()) {
        setReason(reason, QStringLiteral("Track %1 of the CDRDAO TOC file has no DATAFILE").arg(trackNumber));
        return nullptr;
    }
    const TrackContext context = contextForTrack(trackNumber, files);
    if (context.trackLength == 0) {
        setReason(reason, QStringLiteral("\"%1\" is shorter than one sector").arg(context.trackFilePath));
        return nullptr;
    }
    if (!subheaderCopiesMatch(context.trackFilePath, reason))
        return nullptr;
    auto track = std::make_shared<DRTrack>(shared_from_this());
    track->setProperties(trackProperties(context));
    QMutexLocker lock(&mContextMutex);
    mContext.insert(track.get(), context);
    return track;
}

// The contexts of a layout that could not be finished: its tracks go away
// and their addresses may be reused by later tracks.
void VCDBurner::forgetTracks(const DRLayout &tracks)
{
    QMutexLocker lock(&mContextMutex);
    for (const std::shared_ptr<DRTrack> &track : tracks)
        mContext.remove(track.get());
}

std::optional<TrackContext> VCDBurner::trackContext(const DRTrack *track) const
{
    QMutexLocker lock(&mContextMutex);
    const auto found = mContext.constFind(track);
    return found == mContext.cend() ? std::nullopt : std::optional<TrackContext>(*found);
}

uint64_t VCDBurner::estimateLengthOfTrack(DRTrack *track)
{
    return track->properties().value(DRTrackLengthKey).toULongLong();
}

bool VCDBurner::prepareTrack(DRTrack *track, DRBurn *burn, const QVariantMap &media)
{
    QMutexLocker lock(&mContextMutex);
    const auto found = mContext.find(track);
    if (found == mContext.end()) {
        qWarning("-[VCDBurner prepareTrack:forBurn:toMedia:] couldn't get track context!");
        return false;
    }
    TrackContext &context = *found;
    const std::optional<int> pregap = openFileDescriptorForPath(context.pregapFilePath);
    const std::optional<int> data = openFileDescriptorForPath(context.trackFilePath);
    const bool pregapFailed = !context.pregapFilePath.isEmpty() && !pregap;
    if (pregapFailed || !data) {
        qWarning("-[VCDBurner prepareTrack:forBurn:toMedia:] couldn't open file(s):");
        if (pregapFailed)
            qWarning("   %s", qPrintable(context.pregapFilePath));
        if (!data)
            qWarning("   %s", qPrintable(context.trackFilePath));
        closeFileDescriptor(pregap);
        closeFileDescriptor(data);
        return false;
    }
    // A track prepared twice without its clean-up must not keep the first
    // descriptors open.
    closeFileDescriptor(context.pregapFileDescriptor);
    closeFileDescriptor(context.trackFileDescriptor);
    context.pregapFileDescriptor = pregap;
    context.trackFileDescriptor = data;
    return true;
}

uint32_t VCDBurner::producePreGapForTrack(
    DRTrack *track, char *buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t *ioFlags)
{
    const Source source = sourceFor(track, true);
    if (!source.descriptor) {
        memset(buffer, 0, bufferLength);
        return bufferLength;
    }
    return produceFrom(source, buffer, bufferLength, address, blockSize);
}

uint32_t VCDBurner::produceDataForTrack(
    DRTrack *track, char *buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize, uint32_t *ioFlags)
{
    const Source source = sourceFor(track, false);
    return source.descriptor ? produceFrom(source, buffer, bufferLength, address, blockSize) : 0;
}

VCDBurner::Source VCDBurner::sourceFor(const DRTrack *track, bool preGap) const
{
    QMutexLocker lock(&mContextMutex);
    const auto found = mContext.constFind(track);
    if (found == mContext.cend())
        return {};
    if (preGap)
        return { found->pregapFileDescriptor, found->pregapLength };
    return { found->trackFileDescriptor, found->trackLength };
}

// The address is a byte offset into the file. Nothing is served at or past
// the track's end, even if the file has grown since the layout.
uint32_t VCDBurner::produceFrom(
    const Source &source, char *buffer, uint32_t bufferLength, uint64_t address, uint32_t blockSize)
{
    const uint64_t totalBytes = source.blocks * blockSize;
    if (address >= totalBytes)
        return 0;
    const uint32_t count = uint32_t(std::min<uint64_t>(totalBytes - address, bufferLength));
    return uint32_t(readBytes(count, buffer, source.descriptor, address));
}

void VCDBurner::cleanupTrackAfterBurn(DRTrack *track)
{
    QMutexLocker lock(&mContextMutex);
    const auto found = mContext.find(track);
    if (found == mContext.end())
        return;
    closeFileDescriptor(found->pregapFileDescriptor);
    closeFileDescriptor(found->trackFileDescriptor);
    mContext.erase(found);
}

std::optional<int> VCDBurner::openFileDescriptorForPath(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        qWarning("-[VCDBurner openFileDescriptorForPath:] couldn't open \"%s\"", qPrintable(path));
        return std::nullopt;
    }
    return descriptor;
}

void VCDBurner::closeFileDescriptor(std::optional<int> descriptor)
{
    if (descriptor)
        ::close(*descriptor);
}

// One positioned read straight into the caller's buffer: no file position is
// kept, so reads of one descriptor need no order among themselves.
uint64_t VCDBurner::readBytes(uint32_t count, char *buffer, std::optional<int> descriptor, uint64_t offset)
{
    if (!descriptor)
        return 0;
    ssize_t bytesRead;
    do
        bytesRead = ::pread(*descriptor, buffer, count, off_t(offset));
    while (bytesRead < 0 && errno == EINTR);
    return bytesRead < 0 ? 0 : uint64_t(bytesRead);
}
