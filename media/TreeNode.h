#pragma once

#include "media/TreeNodeData.h"

#include <QList>
#include <QString>

#include <climits>
#include <compare>
#include <memory>
#include <vector>

// A node of an ordered tree. A node owns its payload and its children; a
// child knows its parent but does not own it. Nodes live on the heap and
// never move, so views and models may keep pointers to them while the tree
// is edited around them. Nodes are equal only when they are the same node.
//
// Insertion takes ownership and removal hands it back: a node is always in
// at most one child list, and its parent is the node whose list holds it.
class TreeNode {
public:
    static constexpr int kNotFound = INT_MAX;

    explicit TreeNode(std::unique_ptr<TreeNodeData> data);
    virtual ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    static std::unique_ptr<TreeNode> treeNodeWithData(std::unique_ptr<TreeNodeData> data);

    TreeNodeData* nodeData() const { return mNodeData.get(); }
    void setNodeData(std::unique_ptr<TreeNodeData> data) { mNodeData = std::move(data); }
    TreeNode* nodeParent() const { return mNodeParent; }

    int numberOfChildren() const { return int(mNodeChildren.size()); }
    // A copy: the tree may be edited while the copy is walked.
    QList<TreeNode*> children() const;
    TreeNode* childAtIndex(int index) const { return mNodeChildren.at(size_t(index)).get(); }
    TreeNode* firstChild() const { return childAtIndex(0); }
    TreeNode* lastChild() const { return mNodeChildren.empty() ? nullptr : mNodeChildren.back().get(); }
    // The index of that very node among the children, or kNotFound.
    int indexOfChild(const TreeNode* child) const;
    int indexOfChildIdenticalTo(const TreeNode* child) const { return indexOfChild(child); }

    // `index` runs from 0 to numberOfChildren(). Answers the inserted node.
    TreeNode* insertChild(std::unique_ptr<TreeNode> child, int index);
    void insertChildren(std::vector<std::unique_ptr<TreeNode>> children, int index);
    // Null when `child` is not a child of this node, which then stays as it is.
    std::unique_ptr<TreeNode> removeChild(TreeNode* child);
    // Null for a node without parent.
    std::unique_ptr<TreeNode> removeFromParent();

    // True when `node` is this node or one of its ancestors.
    bool isDescendantOfNode(const TreeNode* node) const;
    bool isDescendantOfNodeInArray(const QList<TreeNode*>& nodes) const;

    void recursiveSortChildren();
    std::strong_ordering compare(const TreeNode& other) const;
    QString description() const;

    // The nodes of a selection less those inside another selected node, so
    // that a dragged group and its own selected children move only once. Each
    // node stands at the place of the first listed node it covers.
    static QList<TreeNode*> minimumNodeCoverFromNodesInArray(const QList<TreeNode*>& nodes);

    // Visits `start` and everything below it, parents before children,
    // children in order, without recursion: a deep tree costs no call stack.
    // `visit` answers whether to go below the node. Node is TreeNode or
    // const TreeNode.
    template <typename Node, typename Visit> static void walkDepthFirst(Node* start, Visit visit)
    {
        std::vector<Node*> pending { start };
        while (!pending.empty()) {
            Node* node = pending.back();
            pending.pop_back();
            if (!visit(node))
                continue;
            for (int index = node->numberOfChildren() - 1; index >= 0; --index)
                pending.push_back(node->childAtIndex(index));
        }
    }

private:
    TreeNode* mNodeParent = nullptr;
    std::unique_ptr<TreeNodeData> mNodeData;
    std::vector<std::unique_ptr<TreeNode>> mNodeChildren;
};
