#pragma once

#include <QList>

class TreeNode;

// Where a drag over the media tree may land, and where the dropped nodes
// then go. A proposal is a target (a group, a media item, or none for the
// view as a whole) and a child index: -1 for a drop onto the target itself,
// otherwise a place among the target's children (between two rows).
class DropPolicy
{
public:
    static bool allowOnDropOnGroup() { return true; }
    static bool allowOnDropOnLeaf() { return false; }
    static bool allowBetweenDrop() { return true; }
    static bool onlyAcceptDropOnRoot() { return false; }

    // The sibling rule of the tree's editor: `node` would meet a child of
    // `parent` with the same name there.
    using SiblingTest = bool (*)(const TreeNode *node, const TreeNode *parent);

    struct Place
    {
        TreeNode *group;
        int index;
    };

    // Whether the proposal may be dropped on. `movedNodes` are the nodes of
    // a drag within the tree, empty for content from elsewhere: they may not
    // go into themselves, nor beside a sibling of their own name.
    static bool validateDrop(const TreeNode *root, const TreeNode *target, int childIndex,
        const QList<TreeNode *> &movedNodes, SiblingTest duplicateSiblingExists);
    // The group of an accepted proposal and the index in it where the dropped
    // nodes go: onto a group means at its top.
    static Place acceptDrop(TreeNode *root, TreeNode *target, int childIndex);
    // The index in `group` at which `cover` goes once its nodes have left
    // their places: one less for every one of them above `index` in `group`.
    static int indexAfterTaking(const QList<TreeNode *> &cover, const TreeNode *group, int index);
};
