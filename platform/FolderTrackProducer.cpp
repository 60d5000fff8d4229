#include "platform/FolderTrackProducer.h"

#include "platform/DRFile.h"
#include "platform/DRFolder.h"
#include "platform/DRTrack.h"

// Our own burn_source type, libisofs's copy of libburn's, without libburn.
#define LIBISOFS_WITHOUT_LIBBURN
#include <libisofs/libisofs.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <mutex>

namespace {
constexpr int kBasicProfile = 0;
constexpr int kIsoLevel = 2;
constexpr int kOmitJolietVersions = 2;

QString tr(const char* text)
{
    return QCoreApplication::translate("FolderTrackProducer", text);
}

bool initializeLibisofs()
{
    static const bool started = [] {
        if (iso_init() < 0)
            return false;
        // Names come from QString as UTF-8, whatever the process's locale.
        iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
        iso_set_msgs_severities(
            const_cast<char*>("NEVER"), const_cast<char*>("NEVER"), const_cast<char*>("libisofs: "));
        return true;
    }();
    return started;
}

// "name (2).ext" for the second entry of the same name in one folder.
QString numberedName(const QString& name, int number)
{
    const QFileInfo info(name);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return QStringLiteral("%1 (%2)%3").arg(info.completeBaseName()).arg(number).arg(suffix);
}

void releaseSource(burn_source* source)
{
    if (--source->refcount > 0)
        return;
    if (source->free_data)
        source->free_data(source);
    free(source);
}

int readSource(burn_source* source, char* buffer, int size)
{
    auto* bytes = reinterpret_cast<unsigned char*>(buffer);
    return source->read ? source->read(source, bytes, size) : source->read_xt(source, bytes, size);
}
}

FolderTrackProducer::FolderTrackProducer(std::shared_ptr<DRFolder> root)
    : mRoot(std::move(root))
{
}

FolderTrackProducer::~FolderTrackProducer()
{
    dropImage();
}

uint64_t FolderTrackProducer::estimateLengthOfTrack(DRTrack*)
{
    if (!mSource)
        makeImage();
    return mSizeBytes / DRTrack::kMode1BlockSize;
}

bool FolderTrackProducer::prepareTrack(DRTrack*, DRBurn*, const QVariantMap&)
{
    return mSource || makeImage();
}

uint32_t FolderTrackProducer::producePreGapForTrack(
    DRTrack*, char* buffer, uint32_t bufferLength, uint64_t, uint32_t, uint32_t*)
{
    std::memset(buffer, 0, bufferLength);
    return bufferLength;
}

uint32_t FolderTrackProducer::produceDataForTrack(
    DRTrack*, char* buffer, uint32_t bufferLength, uint64_t address, uint32_t, uint32_t*)
{
    // libisofs writes the image front to back, once.
    if (!mSource || address != mNextAddress) {
        mError = tr("The file system image can only be read in order.");
        return 0;
    }
    const uint32_t wanted = uint32_t(qMin<uint64_t>(bufferLength, mSizeBytes - address));
    uint32_t placed = 0;
    while (placed < wanted) {
        const int count = readSource(mSource, buffer + placed, int(wanted - placed));
        if (count <= 0) {
            mError = tr("Making the file system image failed; a file may have changed or gone while it was read.");
            break;
        }
        placed += uint32_t(count);
    }
    mNextAddress += placed;
    return placed;
}

void FolderTrackProducer::cleanupTrackAfterBurn(DRTrack*)
{
    dropImage();
}

bool FolderTrackProducer::makeImage()
{
    mError.clear();
    if (!initializeLibisofs()) {
        mError = tr("The file system library libisofs could not be started.");
        return false;
    }
    IsoImage* image = nullptr;
    if (iso_image_new(mRoot->name().toUtf8().constData(), &image) < 0) {
        mError = tr("The file system image could not be made.");
        return false;
    }
    bool ok = addChildren(image, iso_image_get_root(image), *mRoot);
    IsoWriteOpts* options = nullptr;
    ok = ok && iso_write_opts_new(&options, kBasicProfile) >= 0;
    if (ok) {
        iso_write_opts_set_iso_level(options, kIsoLevel);
        iso_write_opts_set_rockridge(options, 1);
        const bool joliet = mRoot->explicitFilesystemMask() & DRFSObject::Joliet;
        iso_write_opts_set_joliet(options, joliet ? 1 : 0);
        iso_write_opts_set_joliet_long_names(options, 1);
        // ";1" at the end of every Joliet name only shows up as clutter.
        iso_write_opts_set_omit_version_numbers(options, kOmitJolietVersions);
        const int result = iso_image_create_burn_source(image, options, &mSource);
        if (result < 0) {
            mError = tr("The file system image could not be made: %1").arg(QString::fromUtf8(iso_error_to_msg(result)));
            mSource = nullptr;
            ok = false;
        }
    }
    if (options)
        iso_write_opts_free(options);
    iso_image_unref(image); // the burn source keeps its own reference
    mSizeBytes = mSource ? uint64_t(mSource->get_size(mSource)) : 0;
    mNextAddress = 0;
    return ok;
}

bool FolderTrackProducer::addChildren(IsoImage* image, IsoDir* parent, const DRFolder& folder)
{
    for (const std::shared_ptr<DRFSObject>& child : folder.children()) {
        if (!addChild(image, parent, *child))
            return false;
    }
    return true;
}

bool FolderTrackProducer::addChild(IsoImage* image, IsoDir* parent, const DRFSObject& child)
{
    const auto* file = dynamic_cast<const DRFile*>(&child);
    if (file && !QFileInfo(file->sourcePath()).isFile()) {
        mError = tr("The file %1 cannot be read.").arg(file->sourcePath());
        return false;
    }
    const QByteArray path = file ? QFile::encodeName(file->sourcePath()) : QByteArray();
    for (int number = 1;; ++number) {
        const QByteArray name = (number == 1 ? child.name() : numberedName(child.name(), number)).toUtf8();
        IsoDir* folder = nullptr;
        const int result = file ? iso_tree_add_new_node(image, parent, name.constData(), path.constData(), nullptr)
                                : iso_tree_add_new_dir(parent, name.constData(), &folder);
        if (result == int(ISO_NODE_NAME_NOT_UNIQUE))
            continue;
        if (result < 0) {
            mError
                = tr("%1 cannot be put on the disc: %2").arg(child.name(), QString::fromUtf8(iso_error_to_msg(result)));
            return false;
        }
        return file || addChildren(image, folder, static_cast<const DRFolder&>(child));
    }
}

void FolderTrackProducer::dropImage()
{
    if (!mSource)
        return;
    // The image is written by a thread of libisofs that waits for its reader.
    if (mSource->read == nullptr && mSource->version >= 1 && mSource->cancel)
        mSource->cancel(mSource);
    releaseSource(mSource);
    mSource = nullptr;
}
