#include "media/DropPolicy.h"

#include "media/SimpleTreeNode.h"

#include <algorithm>

bool DropPolicy::validateDrop(const TreeNode *root, const TreeNode *target, int childIndex,
    const QList<TreeNode *> &movedNodes, SiblingTest duplicateSiblingExists)
{
    if (onlyAcceptDropOnRoot())
        return true;
    const bool onto = childIndex < 0;
    if (!target && onto && (root->numberOfChildren() > 0 || !allowOnDropOnLeaf()))
        return false;
    if (!onto && !allowBetweenDrop())
        return false;
    // A media item has no children to go between either.
    const bool targetIsLeaf = target && SimpleTreeNode::isLeafNode(target);
    if (targetIsLeaf && !allowOnDropOnLeaf())
        return false;
    if (target && !targetIsLeaf && onto && !allowOnDropOnGroup())
        return false;
    if (movedNodes.isEmpty())
        return true;
    // The top level keeps its names distinct like any other group.
    const TreeNode *group = target ? target : root;
    if (group->isDescendantOfNodeInArray(movedNodes))
        return false;
    return std::none_of(movedNodes.cbegin(), movedNodes.cend(),
        [&](const TreeNode *node) { return duplicateSiblingExists(node, group); });
}

DropPolicy::Place DropPolicy::acceptDrop(TreeNode *root, TreeNode *target, int childIndex)
{
    TreeNode *group = onlyAcceptDropOnRoot() || !target ? root : target;
    return { group, std::clamp(childIndex, 0, group->numberOfChildren()) };
}

int DropPolicy::indexAfterTaking(const QList<TreeNode *> &cover, const TreeNode *group, int index)
{
    const auto above = std::count_if(cover.cbegin(), cover.cend(),
        [&](const TreeNode *node) { return node->nodeParent() == group && group->indexOfChild(node) < index; });
    return index - int(above);
}
