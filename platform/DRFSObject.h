#pragma once

#include <QString>

#include <cstdint>

// An entry of a folder track's file tree: a DRFolder or a DRFile.
class DRFSObject {
public:
    // File systems a folder track holds. ISO 9660 (with Rock Ridge names) is
    // always there, being the base that the others extend.
    enum FilesystemMask : uint32_t { ISO9660 = 1u << 0, Joliet = 1u << 1 };

    virtual ~DRFSObject() = default;

    QString name() const { return mName; }
    virtual bool isFolder() const = 0;

    // 0 until set: the file systems' default, ISO 9660 alone.
    uint32_t explicitFilesystemMask() const { return mFilesystemMask; }
    void setExplicitFilesystemMask(uint32_t mask) { mFilesystemMask = mask; }

protected:
    explicit DRFSObject(const QString& name)
        : mName(name)
    {
    }

private:
    QString mName;
    uint32_t mFilesystemMask = 0;
};
