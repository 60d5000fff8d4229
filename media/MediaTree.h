#pragma once

#include "media/SimpleTreeNode.h"
#include "media/UnreadFile.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class SettingsModel;

// The open project's media tree without any widget: its file "Kestrin.tree",
// the default tree of a new project, the queries that conversion, authoring
// and menus make of it, the totals shown under it and the marker that says
// the disc image is out of date. The tree view's model sits on top of it and
// shows treeData() directly.
//
// Main thread, except that a worker may walk the tree (queries, totals)
// while nothing edits it.
class MediaTree : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kTreeFileName = "Kestrin.tree";
    static constexpr const char* kInvalidImagesFileName = "Kestrin.invalidimages";
    static constexpr const char* kDefaultTreeResource = "InitInfo.plist";
    // Minutes of movie a disc holds.
    static constexpr int kVCDMinutes = 74;
    static constexpr int kSVCDMinutes = 40;

    // `settings` tells the disc format for the capacity; without it the
    // capacity is that of an SVCD. Starts with the default tree.
    explicit MediaTree(SettingsModel* settings = nullptr, QObject* parent = nullptr);
    ~MediaTree() override;

    TreeNode* treeData() const { return mTreeData.get(); }

    // Replaces the tree by the file's and recomputes the totals. False when
    // the file could not be read whole; the tree then holds what could be
    // read, and the file is kept aside before the next save overwrites it.
    bool loadFromFile(const QString& path);
    // Writes the tree, atomically. False (and a log line) on failure; the
    // tree stays as it is.
    bool saveToFile(const QString& path);
    // Replaces the tree by one read elsewhere (a compilation) and recomputes
    // the totals. The project's tree file changes only at its next save.
    void setTreeData(std::unique_ptr<TreeNode> tree);
    // A new project: the default tree, written to the folder's tree file.
    void flushTree(const QString& projectFolder);

    // Names of the media items below `node` (the whole tree when null),
    // appended depth first, parents before children, in tree order.
    void getMediaFiles(const TreeNode* node, QStringList& mediaFiles) const;
    // `node` (the root when null) and every group below it, in the same order.
    void getMediaNodes(TreeNode* node, QList<TreeNode*>& mediaNodes) const;
    // The names from the root down to the node, joined as path components.
    static QString fullPathToNode(const TreeNode* node);

    // Marks the disc image out of date and deletes every "*.img" file in the
    // project folder and below.
    void invalidateImages(const QString& projectFolder);
    // The disc image is up to date again.
    void validateImages(const QString& projectFolder);

    // Recounts the minutes of movie and the missing items, item by item.
    void updateSizeInUI();
    // Adds the items below `node` to the running totals.
    void sumTree(const TreeNode* node);

    qint64 secondsUsed() const { return mkBytesUsedValue; }
    double minutesUsed() const { return double(mkBytesUsedValue) / 60.0; }
    int missingItems() const { return mMissingItemsValue; }
    int barMaximum() const;
    QColor missingItemsColor() const { return mMissingItemsValue > 0 ? QColor(Qt::red) : QColor(Qt::blue); }

signals:
    // Around every replacement of the whole tree: node pointers of the old
    // tree are dead after treeAboutToBeReplaced.
    void treeAboutToBeReplaced();
    void treeReplaced();

    // The totals as they grow during updateSizeInUI.
    void usedMinutesChanged(double minutes);
    void missingItemsChanged(int count);
    // At the end of updateSizeInUI, and at once when the disc format changes.
    void barMaximumChanged(int minutes);
    void missingItemsColorChanged(const QColor& color);

private:
    void replaceTree(std::unique_ptr<TreeNode> tree);
    void loadDefaultTree();
    void addMediaItem(const QString& path);

    std::unique_ptr<TreeNode> mTreeData;
    SettingsModel* mSettings;
    qint64 mkBytesUsedValue = 0; // seconds of movie, despite the name
    int mMissingItemsValue = 0;
    // A tree file that was not read whole, until it has been kept aside.
    UnreadFile mUnreadFile;
};
