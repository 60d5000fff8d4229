#include "media/TreeNode.h"

#include <QSet>

#include <algorithm>

TreeNode::TreeNode(std::unique_ptr<TreeNodeData> data)
    : mNodeData(std::move(data))
{
}

TreeNode::~TreeNode()
{
    // Taken apart level by level, so a deep tree cannot exhaust the stack.
    std::vector<std::unique_ptr<TreeNode>> pending = std::move(mNodeChildren);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<TreeNode>& child : node->mNodeChildren)
            pending.push_back(std::move(child));
        node->mNodeChildren.clear();
    }
}

std::unique_ptr<TreeNode> TreeNode::treeNodeWithData(std::unique_ptr<TreeNodeData> data)
{
    return std::make_unique<TreeNode>(std::move(data));
}

QList<TreeNode*> TreeNode::children() const
{
    QList<TreeNode*> list;
    list.reserve(qsizetype(mNodeChildren.size()));
    for (const std::unique_ptr<TreeNode>& child : mNodeChildren)
        list.append(child.get());
    return list;
}

int TreeNode::indexOfChild(const TreeNode* child) const
{
    const auto found = std::find_if(mNodeChildren.begin(), mNodeChildren.end(),
        [child](const std::unique_ptr<TreeNode>& candidate) { return candidate.get() == child; });
    return found == mNodeChildren.end() ? kNotFound : int(found - mNodeChildren.begin());
}

TreeNode* TreeNode::insertChild(std::unique_ptr<TreeNode> child, int index)
{
    child->mNodeParent = this;
    return mNodeChildren.insert(mNodeChildren.begin() + index, std::move(child))->get();
}

void TreeNode::insertChildren(std::vector<std::unique_ptr<TreeNode>> children, int index)
{
    for (std::unique_ptr<TreeNode>& child : children)
        child->mNodeParent = this;
    mNodeChildren.insert(mNodeChildren.begin() + index, std::make_move_iterator(children.begin()),
        std::make_move_iterator(children.end()));
}

std::unique_ptr<TreeNode> TreeNode::removeChild(TreeNode* child)
{
    const int index = indexOfChild(child);
    if (index == kNotFound)
        return nullptr;
    std::unique_ptr<TreeNode> removed = std::move(mNodeChildren[size_t(index)]);
    mNodeChildren.erase(mNodeChildren.begin() + index);
    removed->mNodeParent = nullptr;
    return removed;
}

std::unique_ptr<TreeNode> TreeNode::removeFromParent()
{
    return mNodeParent ? mNodeParent->removeChild(this) : nullptr;
}

bool TreeNode::isDescendantOfNode(const TreeNode* node) const
{
    for (const TreeNode* ancestor = this; ancestor; ancestor = ancestor->mNodeParent) {
        if (ancestor == node)
            return true;
    }
    return false;
}

bool TreeNode::isDescendantOfNodeInArray(const QList<TreeNode*>& nodes) const
{
    return std::any_of(nodes.begin(), nodes.end(), [this](const TreeNode* node) { return isDescendantOfNode(node); });
}

void TreeNode::recursiveSortChildren()
{
    std::vector<TreeNode*> pending { this };
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        std::stable_sort(node->mNodeChildren.begin(), node->mNodeChildren.end(),
            [](const std::unique_ptr<TreeNode>& a, const std::unique_ptr<TreeNode>& b) { return a->compare(*b) < 0; });
        for (const std::unique_ptr<TreeNode>& child : node->mNodeChildren)
            pending.push_back(child.get());
    }
}

std::strong_ordering TreeNode::compare(const TreeNode& other) const
{
    return mNodeData->compare(*other.mNodeData);
}

QString TreeNode::description() const
{
    return QStringLiteral("{%1}").arg(mNodeData ? mNodeData->description() : QString());
}

QList<TreeNode*> TreeNode::minimumNodeCoverFromNodesInArray(const QList<TreeNode*>& nodes)
{
    const QSet<TreeNode*> listed(nodes.begin(), nodes.end());
    QList<TreeNode*> cover;
    QSet<TreeNode*> covered;
    for (TreeNode* node : nodes) {
        // Climb all the way: a node inside a listed grandparent is covered
        // even when its parent is not listed.
        TreeNode* top = node;
        for (TreeNode* ancestor = node->mNodeParent; ancestor; ancestor = ancestor->mNodeParent) {
            if (listed.contains(ancestor))
                top = ancestor;
        }
        if (!covered.contains(top)) {
            covered.insert(top);
            cover.append(top);
        }
    }
    return cover;
}
