#pragma once

#include "media/TreeNode.h"

#include <QStringList>
#include <QVariantMap>

class SimpleNodeData;

// A tree node that can build a whole media tree from its dictionary form:
// a group is {"Group": name, "Entries": [...]}, each entry a string (a media
// item named by it) or a dictionary of the same form (a child group).
class SimpleTreeNode : public TreeNode {
public:
    using TreeNode::TreeNode;

    // Every group of the new tree is expandable. What the dictionary holds
    // that no tree can show (a name that is no string, entries that are no
    // list, an entry that is neither string nor dictionary) is left out and
    // described in `problems`, when given.
    static std::unique_ptr<SimpleTreeNode> treeFromDictionary(
        const QVariantMap& dictionary, QStringList* problems = nullptr);

    // The media-tree payload of any node, null when it carries another kind.
    static SimpleNodeData* dataOf(const TreeNode* node);
    static QString nameOf(const TreeNode* node);
    static bool isLeafNode(const TreeNode* node);
};
