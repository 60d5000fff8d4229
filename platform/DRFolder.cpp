#include "platform/DRFolder.h"

std::shared_ptr<DRFolder> DRFolder::virtualFolderWithName(const QString& name)
{
    return std::shared_ptr<DRFolder>(new DRFolder(name));
}
