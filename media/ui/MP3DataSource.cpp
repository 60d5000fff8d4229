#include "media/ui/MP3DataSource.h"

#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "media/SimpleTreeNode.h"
#include "media/ui/ImageAndTextCell.h"
#include "media/ui/MP3OutlineView.h"
#include "media/ui/MediaDrop.h"
#include "platform/PathNames.h"
#include "platform/Resources.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QSet>

namespace {

// A name that is no absolute path ("New Leaf", a group's plain name) names
// nothing on disk, whatever the current folder holds.
bool namesExistingFile(const QString &name)
{
    const QFileInfo file(name);
    return file.isAbsolute() && file.exists();
}

std::unique_ptr<TreeNode> newNode(const char *name, bool isLeaf)
{
    return TreeNode::treeNodeWithData(std::make_unique<SimpleNodeData>(QString::fromLatin1(name), isLeaf));
}

} // namespace

struct MP3DataSource::RowLook
{
    int icon;
    QString text;
    bool missing;
};

MP3DataSource::MP3DataSource(MediaTree *mediaTree, SettingsModel *settings, QObject *parent)
    : QAbstractItemModel(parent)
    , mMediaTree(mediaTree)
    , mSettings(settings)
    , mMediaDrop(new MediaDrop(this, mediaTree, settings))
{
    connect(mMediaDrop, &MediaDrop::refused, this, &MP3DataSource::refused);
    connect(mMediaTree, &MediaTree::treeAboutToBeReplaced, this, [this] { beginResetModel(); });
    connect(mMediaTree, &MediaTree::treeReplaced, this, [this] { endResetModel(); });
}

MP3DataSource::~MP3DataSource() = default;

void MP3DataSource::awakeFromNib(MP3OutlineView *view)
{
    mOutlineView = view;
    view->setModel(this);
    view->setItemDelegateForColumn(NameColumn, new ImageAndTextCell(view));
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    view->header()->setSectionResizeMode(IsExpandableColumn, QHeaderView::ResizeToContents);
    view->setColumnHidden(NodeKindColumn, true);
    mMediaDrop->awakeFromNib(view);

    // A group whose flag is off does not open, however the user asks.
    connect(view, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        const SimpleNodeData *data = SimpleTreeNode::dataOf(nodeForIndex(index));
        if (data && !data->isExpandable() && mOutlineView)
            mOutlineView->collapse(index);
    });
    connect(view, &QAbstractItemView::clicked, this, &MP3DataSource::selectMedia);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { emit canDeleteSelectionsChanged(canDeleteSelections()); });
    connect(this, &QAbstractItemModel::modelReset, this,
        [this] { emit canDeleteSelectionsChanged(canDeleteSelections()); });
}

TreeNode *MP3DataSource::treeData() const
{
    return mMediaTree->treeData();
}

TreeNode *MP3DataSource::nodeForIndex(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<TreeNode *>(index.internalPointer()) : treeData();
}

QModelIndex MP3DataSource::indexForNode(const TreeNode *node, int column) const
{
    if (!node || node == treeData() || !node->nodeParent())
        return QModelIndex();
    const int row = node->nodeParent()->indexOfChild(node);
    return createIndex(row, column, const_cast<TreeNode *>(node));
}

QString MP3DataSource::columnIdentifier(int column)
{
    switch (column) {
    case NameColumn:
        return QStringLiteral("NameColumn");
    case IsExpandableColumn:
        return QStringLiteral("IsExpandableColumn");
    case NodeKindColumn:
        return QStringLiteral("NodeKindColumn");
    default:
        return QString();
    }
}

QModelIndex MP3DataSource::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column, nodeForIndex(parent)->childAtIndex(row));
}

QModelIndex MP3DataSource::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return QModelIndex();
    return indexForNode(nodeForIndex(index)->nodeParent());
}

int MP3DataSource::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const TreeNode *node = nodeForIndex(parent);
    return SimpleTreeNode::isLeafNode(node) ? 0 : node->numberOfChildren();
}

int MP3DataSource::columnCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : ColumnCount;
}

// Every group shows an opening mark, empty or not.
bool MP3DataSource::hasChildren(const QModelIndex &parent) const
{
    return parent.column() <= 0 && !SimpleTreeNode::isLeafNode(nodeForIndex(parent));
}

MP3DataSource::RowLook MP3DataSource::rowLook(TreeNode *node) const
{
    const QString name = SimpleTreeNode::nameOf(node);
    SimpleNodeData *data = SimpleTreeNode::dataOf(node);
    const bool expandable = data && data->isExpandable();
    const bool missing = !expandable && !namesExistingFile(name);
    const int icon = missing ? MissingIcon : expandable ? OpenableGroupIcon : MediaIcon;
    if (data)
        data->setIconRep(randomIconImage(icon));
    return { icon, missing ? name : PathNames::lastPathComponent(name), missing };
}

QVariant MP3DataSource::nameData(TreeNode *node, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return rowLook(node).text;
    case Qt::DecorationRole:
        return randomIconImage(rowLook(node).icon);
    case Qt::ForegroundRole:
        // A movie that cannot be found stands out; a closed group only shows
        // its icon.
        return rowLook(node).missing && SimpleTreeNode::isLeafNode(node) ? QVariant(QColor(Qt::red)) : QVariant();
    case Qt::ToolTipRole:
        return SimpleTreeNode::nameOf(node);
    default:
        return QVariant();
    }
}

QVariant MP3DataSource::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    TreeNode *node = nodeForIndex(index);
    const bool isLeaf = SimpleTreeNode::isLeafNode(node);
    switch (index.column()) {
    case NameColumn:
        return nameData(node, role);
    case IsExpandableColumn:
        if (role == Qt::CheckStateRole && !isLeaf)
            return SimpleTreeNode::dataOf(node)->isExpandable() ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case NodeKindColumn:
        if (role == Qt::DisplayRole)
            return isLeaf ? QStringLiteral("Leaf") : QStringLiteral("Group");
        return QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags MP3DataSource::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    const bool isGroup = !SimpleTreeNode::isLeafNode(nodeForIndex(index));
    if (isGroup)
        flags |= Qt::ItemIsDropEnabled;
    if (isGroup && index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    if (isGroup && index.column() == IsExpandableColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant MP3DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == ColumnIdentifierRole)
        return columnIdentifier(section);
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NameColumn:
        return mRecordTitle.isEmpty() ? tr("Name") : mRecordTitle;
    case IsExpandableColumn:
        return tr("Opens");
    case NodeKindColumn:
        return tr("Kind");
    default:
        return QVariant();
    }
}

QStringList MP3DataSource::mimeTypes() const
{
    return mMediaDrop->mimeTypes();
}

QMimeData *MP3DataSource::mimeData(const QModelIndexList &indexes) const
{
    QList<TreeNode *> nodes;
    for (const QModelIndex &index : indexes) {
        if (index.isValid())
            nodes << nodeForIndex(index);
    }
    return mMediaDrop->writeItems(nodes);
}

bool MP3DataSource::canDropMimeData(
    const QMimeData *data, Qt::DropAction, int row, int, const QModelIndex &parent) const
{
    return mMediaDrop->canDrop(data, row, parent.isValid() ? nodeForIndex(parent) : nullptr);
}

bool MP3DataSource::dropMimeData(const QMimeData *data, Qt::DropAction, int row, int, const QModelIndex &parent)
{
    return mMediaDrop->drop(data, row, parent.isValid() ? nodeForIndex(parent) : nullptr);
}

Qt::DropActions MP3DataSource::supportedDropActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}

Qt::DropActions MP3DataSource::supportedDragActions() const
{
    return Qt::CopyAction;
}

bool MP3DataSource::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    if (index.column() == NameColumn && role == Qt::EditRole)
        return rename(index, value.toString());
    if (index.column() == IsExpandableColumn && role == Qt::CheckStateRole)
        return setExpandable(index, value.toInt() == Qt::Checked);
    return false;
}

bool MP3DataSource::rename(const QModelIndex &index, const QString &typedName)
{
    TreeNode *node = nodeForIndex(index);
    SimpleNodeData *data = SimpleTreeNode::dataOf(node);
    if (!data || data->isLeaf())
        return false;
    // An edit that was left as it was shown changes nothing, even where the
    // row shows only the last part of a folder's path.
    if (typedName == data->name() || typedName == rowLook(node).text)
        return false;
    // A group without a name would vanish from every full path below it.
    if (typedName.trimmed().isEmpty() || duplicateNameExists(node->nodeParent(), typedName)) {
        refuse();
        return false;
    }
    const QString oldPath = MediaTree::fullPathToNode(node);
    data->setName(typedName);
    emit dataChanged(index.siblingAtColumn(NameColumn), index.siblingAtColumn(NodeKindColumn));
    emit pathChanged(oldPath, MediaTree::fullPathToNode(node));
    return true;
}

bool MP3DataSource::setExpandable(const QModelIndex &index, bool expandable)
{
    SimpleNodeData *data = SimpleTreeNode::dataOf(nodeForIndex(index));
    if (!data || data->isLeaf())
        return false;
    data->setIsExpandable(expandable);
    const QModelIndex name = index.siblingAtColumn(NameColumn);
    emit dataChanged(name, index.siblingAtColumn(IsExpandableColumn));
    if (!expandable && mOutlineView && mOutlineView->isExpanded(name))
        mOutlineView->collapse(name);
    return true;
}

void MP3DataSource::refuse()
{
    QApplication::beep();
    emit refused();
}

QList<TreeNode *> MP3DataSource::selectedNodes() const
{
    return mOutlineView ? mOutlineView->allSelectedItems() : QList<TreeNode *>();
}

bool MP3DataSource::canDeleteSelections() const
{
    return !selectedNodes().isEmpty();
}

bool MP3DataSource::duplicateNameExists(const TreeNode *parent, const QString &name) const
{
    const TreeNode *group = parent ? parent : treeData();
    for (int index = 0; index < group->numberOfChildren(); ++index) {
        if (SimpleTreeNode::nameOf(group->childAtIndex(index)) == name)
            return true;
    }
    return false;
}

bool MP3DataSource::duplicateSiblingExists(const TreeNode *node, const TreeNode *parent)
{
    if (!parent || node->nodeParent() == parent)
        return false;
    const QString name = SimpleTreeNode::nameOf(node);
    for (int index = 0; index < parent->numberOfChildren(); ++index) {
        if (SimpleTreeNode::nameOf(parent->childAtIndex(index)) == name)
            return true;
    }
    return false;
}

void MP3DataSource::numberName(TreeNode *node, const TreeNode *parent)
{
    SimpleNodeData *data = SimpleTreeNode::dataOf(node);
    if (!data || !duplicateSiblingExists(node, parent))
        return;
    // The sibling names once, so a crowded group costs one pass.
    QSet<QString> siblingNames;
    for (int index = 0; index < parent->numberOfChildren(); ++index)
        siblingNames.insert(SimpleTreeNode::nameOf(parent->childAtIndex(index)));
    const QString firstName = data->name();
    QString name = firstName;
    for (int number = 1; number <= kLastNameNumber && siblingNames.contains(name); ++number)
        name = QStringLiteral("%1 %2").arg(firstName).arg(number);
    data->setName(name);
}

TreeNode *MP3DataSource::insertNode(std::unique_ptr<TreeNode> node, TreeNode *parent, int index)
{
    beginInsertRows(indexForNode(parent), index, index);
    TreeNode *inserted = parent->insertChild(std::move(node), index);
    endInsertRows();
    return inserted;
}

std::unique_ptr<TreeNode> MP3DataSource::takeNode(TreeNode *node)
{
    TreeNode *parent = node->nodeParent();
    if (!parent)
        return nullptr;
    const int row = parent->indexOfChild(node);
    beginRemoveRows(indexForNode(parent), row, row);
    std::unique_ptr<TreeNode> taken = parent->removeChild(node);
    endRemoveRows();
    return taken;
}

void MP3DataSource::addGroup()
{
    addNewDataToSelection(newNode(kNewGroupName, false));
}

void MP3DataSource::addLeaf()
{
    addNewDataToSelection(newNode(kNewLeafName, true));
}

// Into the selected group at its top, or right after the selected item, or
// at the top of the tree; then a group's name is open for typing.
void MP3DataSource::addNewDataToSelection(std::unique_ptr<TreeNode> node)
{
    const QList<TreeNode *> selected = selectedNodes();
    TreeNode *anchor = selected.isEmpty() ? treeData() : selected.first();
    TreeNode *parent = anchor;
    int index = 0;
    if (SimpleTreeNode::isLeafNode(anchor)) {
        parent = anchor->nodeParent();
        index = parent->indexOfChild(anchor) + 1;
    }
    numberName(node.get(), parent);
    TreeNode *added = insertNode(std::move(node), parent, index);
    if (!mOutlineView || !mOutlineView->isShown(added))
        return;
    const QModelIndex row = indexForNode(added);
    mOutlineView->selectItems({ added }, false);
    mOutlineView->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    mOutlineView->scrollTo(row);
    // An item's name is its movie's path, which no typing changes.
    if (flags(row) & Qt::ItemIsEditable)
        mOutlineView->edit(row);
}

void MP3DataSource::deleteSelections()
{
    const QList<TreeNode *> selected = selectedNodes();
    if (selected.isEmpty())
        return;
    const QString projectFolder = mSettings ? mSettings->projectFolder() : QString();
    for (const TreeNode *node : selected) {
        emit pathChanged(MediaTree::fullPathToNode(node), QString());
        deleteConvertedMovie(projectFolder, SimpleTreeNode::nameOf(node));
    }
    if (!projectFolder.isEmpty())
        mMediaTree->invalidateImages(projectFolder);
    // A selected node inside a selected group goes with the group.
    for (TreeNode *node : TreeNode::minimumNodeCoverFromNodesInArray(selected))
        takeNode(node);
    if (mOutlineView)
        mOutlineView->selectionModel()->clearSelection();
    mMediaTree->updateSizeInUI();
}

// The converted movie of a node is named by the last part of its name, less
// its extension, with ".mpg": "trip.mpg" for /Users/ann/trip.mov.
void MP3DataSource::deleteConvertedMovie(const QString &projectFolder, const QString &name) const
{
    const QString base = QFileInfo(PathNames::lastPathComponent(name)).completeBaseName();
    if (projectFolder.isEmpty() || base.isEmpty())
        return;
    QFile::remove(QDir(projectFolder).filePath(base + QStringLiteral(".mpg")));
}

// Sorted in place: the view keeps its open groups and its selection.
void MP3DataSource::sortData()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    treeData()->recursiveSortChildren();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(indexForNode(nodeForIndex(index), index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void MP3DataSource::selectMedia()
{
    const QList<TreeNode *> selected = selectedNodes();
    if (!selected.isEmpty())
        emit mediaSelected(SimpleTreeNode::nameOf(selected.first()));
}

void MP3DataSource::toggleVerticalBeginsDrag(bool on)
{
    if (mOutlineView)
        mOutlineView->setVerticalMotionCanBeginDrag(on);
}

void MP3DataSource::setRecordTitle(const QString &title)
{
    mRecordTitle = title;
    emit headerDataChanged(Qt::Horizontal, NameColumn, NameColumn);
}

QIcon MP3DataSource::randomIconImage(int position) const
{
    if (mIconImages.isEmpty()) {
        for (int number = 1;; ++number) {
            const QString path = Resources::dataFile(QStringLiteral("Image%1.png").arg(number));
            if (path.isEmpty())
                break;
            mIconImages.append(QIcon(path));
        }
    }
    return mIconImages.value(position);
}
