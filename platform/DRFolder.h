#pragma once

#include "platform/DRFSObject.h"

#include <QList>

#include <memory>

// A folder of a folder track that exists only on the disc; its children are
// kept in the order they were added.
class DRFolder : public DRFSObject {
public:
    static std::shared_ptr<DRFolder> virtualFolderWithName(const QString& name);

    bool isFolder() const override { return true; }

    void addChild(std::shared_ptr<DRFSObject> child) { mChildren.append(std::move(child)); }
    QList<std::shared_ptr<DRFSObject>> children() const { return mChildren; }

private:
    using DRFSObject::DRFSObject;

    QList<std::shared_ptr<DRFSObject>> mChildren;
};
