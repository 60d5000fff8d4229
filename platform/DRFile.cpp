#include "platform/DRFile.h"

#include <QFileInfo>

DRFile::DRFile(const QString& name, const QString& path)
    : DRFSObject(name)
    , mSourcePath(path)
{
}

std::shared_ptr<DRFile> DRFile::fileWithPath(const QString& path)
{
    return std::shared_ptr<DRFile>(new DRFile(QFileInfo(path).fileName(), path));
}
