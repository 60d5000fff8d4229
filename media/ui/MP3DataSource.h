#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <QPointer>

#include <memory>

class MediaDrop;
class MediaTree;
class MP3OutlineView;
class SettingsModel;
class TreeNode;

// The media tree as the tree view sees it, and the commands that edit it:
// new group, delete, sort, rename, whether a group may be opened, and the
// click that shows a movie in the preview. The model shows MediaTree's nodes
// themselves; an index's internal pointer is its node and the root has no
// row. Three columns: the name with its icon, a check box saying whether a
// group may be opened, and the kind of the node.
//
// Every change of a node's full path (rename, deletion) is reported through
// pathChanged, for the menus that refer to nodes by path. Main thread only.
class MP3DataSource : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, IsExpandableColumn, NodeKindColumn, ColumnCount };
    // Header data: "NameColumn", "IsExpandableColumn" or "NodeKindColumn".
    static constexpr int ColumnIdentifierRole = Qt::UserRole + 1;
    // Positions of the row icons.
    enum RowIcon { MediaIcon, OpenableGroupIcon, MissingIcon };

    static constexpr const char *kNewGroupName = "New Folder";
    static constexpr const char *kNewLeafName = "New Leaf";
    static constexpr int kLastNameNumber = 31999;

    MP3DataSource(MediaTree *mediaTree, SettingsModel *settings, QObject *parent = nullptr);
    ~MP3DataSource() override;

    // Shows the tree in `view` and gives it its cells and behaviour.
    void awakeFromNib(MP3OutlineView *view);
    MP3OutlineView *outlineView() const { return mOutlineView; }

    MediaTree *mediaTree() const { return mMediaTree; }
    TreeNode *treeData() const;
    // The root for an invalid index.
    TreeNode *nodeForIndex(const QModelIndex &index) const;
    // Invalid for the root.
    QModelIndex indexForNode(const TreeNode *node, int column = NameColumn) const;
    static QString columnIdentifier(int column);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Drag and drop, carried out by mediaDrop().
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(
        const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) const override;
    bool dropMimeData(
        const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override;
    // Nodes dragged out of the view are copies.
    Qt::DropActions supportedDragActions() const override;
    MediaDrop *mediaDrop() const { return mMediaDrop; }

    // The nodes of the view's selected rows, top to bottom.
    QList<TreeNode *> selectedNodes() const;

    // Commands.
    void addGroup();
    void addLeaf();
    void deleteSelections();
    void sortData();
    void selectMedia();
    void toggleVerticalBeginsDrag(bool on);
    // Whether the delete command can run: something is selected.
    bool canDeleteSelections() const;

    // A child of `parent` (of the root when null) has exactly `name`.
    bool duplicateNameExists(const TreeNode *parent, const QString &name) const;
    // `node` would meet a child of `parent` of the same name there. False
    // without `parent` and when `parent` already holds the node.
    static bool duplicateSiblingExists(const TreeNode *node, const TreeNode *parent);
    // Gives a node that would meet a same-named sibling in `parent` the name
    // "<name> 1", "<name> 2"... up to kLastNameNumber, always counting from
    // its first name.
    static void numberName(TreeNode *node, const TreeNode *parent);

    // Tree edits that keep the views in step.
    TreeNode *insertNode(std::unique_ptr<TreeNode> node, TreeNode *parent, int index);
    std::unique_ptr<TreeNode> takeNode(TreeNode *node);

    // The name shown in the header of the name column (a compilation's);
    // empty for the plain "Name".
    void setRecordTitle(const QString &title);
    QString recordTitle() const { return mRecordTitle; }

    // The row icon at that position, or a null icon.
    QIcon randomIconImage(int position) const;

signals:
    // A node's full path changed; `newPath` is null when the node went.
    void pathChanged(const QString &oldPath, const QString &newPath);
    // The user clicked a node: its name, a movie's path, for the preview.
    void mediaSelected(const QString &path);
    void canDeleteSelectionsChanged(bool canDelete);
    // An edit was refused (after the system beep).
    void refused();

private:
    struct RowLook;
    RowLook rowLook(TreeNode *node) const;
    QVariant nameData(TreeNode *node, int role) const;
    bool rename(const QModelIndex &index, const QString &typedName);
    bool setExpandable(const QModelIndex &index, bool expandable);
    void addNewDataToSelection(std::unique_ptr<TreeNode> node);
    void deleteConvertedMovie(const QString &projectFolder, const QString &name) const;
    void refuse();

    MediaTree *mMediaTree;
    SettingsModel *mSettings;
    QPointer<MP3OutlineView> mOutlineView;
    mutable QList<QIcon> mIconImages;
    MediaDrop *mMediaDrop;
    QString mRecordTitle;
};
