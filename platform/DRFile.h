#pragma once

#include "platform/DRFSObject.h"

#include <memory>

// A file of a folder track: the file at a path on this machine, under its
// own name. Its bytes are read when the track is burned.
class DRFile : public DRFSObject {
public:
    static std::shared_ptr<DRFile> fileWithPath(const QString& path);

    bool isFolder() const override { return false; }
    QString sourcePath() const { return mSourcePath; }

private:
    DRFile(const QString& name, const QString& path);

    QString mSourcePath;
};
