#include "media/DataDiscLayout.h"

#include "media/SimpleTreeNode.h"
#include "platform/DRFile.h"
#include "platform/DRFolder.h"
#include "platform/DRMSF.h"
#include "platform/PathNames.h"

#include <QDateTime>
#include <QFileInfo>

#include <utility>
#include <vector>

qint64 DataDiscLayout::compilationBytes(const TreeNode *root)
{
    qint64 bytes = 0;
    TreeNode::walkDepthFirst(root, [&bytes](const TreeNode *node) {
        if (!SimpleTreeNode::isLeafNode(node))
            return true;
        const QFileInfo file(SimpleTreeNode::nameOf(node));
        if (file.isAbsolute() && file.isFile())
            bytes += file.size();
        return false;
    });
    return bytes;
}

DataDiscLayout::SizeWarning DataDiscLayout::sizeWarning(qint64 megabytes, const Thresholds &thresholds)
{
    if (thresholds.warnSpace && megabytes < thresholds.warnSpaceMb)
        return SizeWarning::NotEnoughMusic;
    if (thresholds.warnMore && megabytes > thresholds.warnMoreMb)
        return SizeWarning::TooMuchMusic;
    return SizeWarning::None;
}

uint64_t DataDiscLayout::freeBlocks(const DRMSF &spaceFree)
{
    if (spaceFree.minutes() == 0 && spaceFree.seconds() <= 1)
        return 0;
    return spaceFree.totalFrames() - kLeadInBlocks;
}

bool DataDiscLayout::fitsOnMedia(qint64 bytes, uint64_t freeBlocks)
{
    return bytes <= 0 || uint64_t(bytes) <= freeBlocks * kBlockSize;
}

QString DataDiscLayout::volumeName(const QDateTime &when)
{
    const QDate date = when.date();
    return QStringLiteral("Sonabel CD %1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.dayOfYear(), 3, 10, QLatin1Char('0'))
        .arg(when.time().toString(QStringLiteral("HHmmss")));
}

void DataDiscLayout::createTree(const TreeNode *node, DRFolder &parentFolder)
{
    std::vector<std::pair<const TreeNode *, DRFolder *>> pending { { node, &parentFolder } };
    while (!pending.empty()) {
        const auto [current, folder] = pending.back();
        pending.pop_back();
        const QString name = SimpleTreeNode::nameOf(current);
        if (SimpleTreeNode::isLeafNode(current)) {
            folder->addChild(DRFile::fileWithPath(name));
            continue;
        }
        std::shared_ptr<DRFolder> group = DRFolder::virtualFolderWithName(PathNames::lastPathComponent(name));
        folder->addChild(group);
        // Last child first on the stack, so the first is laid out first.
        for (int index = current->numberOfChildren() - 1; index >= 0; --index)
            pending.emplace_back(current->childAtIndex(index), group.get());
    }
}

std::shared_ptr<DRFolder> DataDiscLayout::rootFolder(const TreeNode *root, const QString &volumeName)
{
    std::shared_ptr<DRFolder> folder = DRFolder::virtualFolderWithName(volumeName);
    createTree(root, *folder);
    return folder;
}
