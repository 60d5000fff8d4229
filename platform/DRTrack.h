#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <memory>

class DRFolder;
class DRTrackProducer;

// Track property keys. Lengths are in blocks (unsigned 64-bit numbers).
inline const QString DRTrackLengthKey = QStringLiteral("DRTrackLengthKey");
inline const QString DRBlockSizeKey = QStringLiteral("DRBlockSizeKey");
inline const QString DRBlockTypeKey = QStringLiteral("DRBlockTypeKey");
inline const QString DRDataFormKey = QStringLiteral("DRDataFormKey");
inline const QString DRSessionFormatKey = QStringLiteral("DRSessionFormatKey");
inline const QString DRTrackModeKey = QStringLiteral("DRTrackModeKey");
inline const QString DRVerificationTypeKey = QStringLiteral("DRVerificationTypeKey");
inline const QString DRPreGapLengthKey = QStringLiteral("DRPreGapLengthKey");

inline const QString DRVerificationTypeNone = QStringLiteral("DRVerificationTypeNone");

// One track of a burn: its properties and the producer that serves its
// bytes. The track keeps its producer alive; a producer that serves several
// tracks tells them apart by the DRTrack's identity.
class DRTrack {
public:
    // The two kinds of track a recorder may be able to write, read from the
    // properties.
    enum class Format {
        Mode1Data, // 2048-byte blocks, session format 0 (a data disc)
        Mode2Raw, // 2352-byte raw sectors, session format 0x20 (CD-ROM XA, a Video CD)
        Unsupported,
    };

    static constexpr int kMode1BlockSize = 2048;
    static constexpr int kRawBlockSize = 2352;
    static constexpr int kMode1SessionFormat = 0;
    static constexpr int kXASessionFormat = 0x20;
    static constexpr uint64_t kDefaultPreGapLength = 150;

    explicit DRTrack(std::shared_ptr<DRTrackProducer> producer);
    ~DRTrack();

    DRTrack(const DRTrack&) = delete;
    DRTrack& operator=(const DRTrack&) = delete;

    // A Mode 1 data track holding an ISO 9660 file system (with Joliet when
    // the root folder's file-system mask asks for it) made of `root`'s tree;
    // the root folder's name is the volume name.
    static std::shared_ptr<DRTrack> trackForRootFolder(std::shared_ptr<DRFolder> root);

    QVariantMap properties() const { return mProperties; }
    void setProperties(const QVariantMap& properties) { mProperties = properties; }

    DRTrackProducer* producer() const { return mProducer.get(); }

    // Read from the properties; a missing block size or pregap length takes
    // the defaults of a data track (2048, 150).
    Format format() const;
    uint32_t blockSize() const;
    uint64_t preGapLength() const;
    bool hasLength() const { return mProperties.contains(DRTrackLengthKey); }
    uint64_t length() const;

private:
    std::shared_ptr<DRTrackProducer> mProducer;
    QVariantMap mProperties;
};

// The tracks of one burn, in disc order.
using DRLayout = QList<std::shared_ptr<DRTrack>>;
