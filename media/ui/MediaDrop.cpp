#include "media/ui/MediaDrop.h"

#include "media/DropPolicy.h"
#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"
#include "media/SimpleTreeNode.h"
#include "media/ui/AddMediaPanel.h"
#include "media/ui/MP3DataSource.h"
#include "media/ui/MP3OutlineView.h"
#include "media/ui/SearchSheet.h"
#include "settings/SettingsModel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace {

std::unique_ptr<TreeNode> newNode(const QString &name, bool isLeaf)
{
    return TreeNode::treeNodeWithData(std::make_unique<SimpleNodeData>(name, isLeaf));
}

// The child indexes from the root down to the node: sorting by it sorts
// nodes into tree order.
QList<int> treePosition(const TreeNode *node)
{
    QList<int> position;
    for (; node->nodeParent(); node = node->nodeParent())
        position.prepend(node->nodeParent()->indexOfChild(node));
    return position;
}

// Nodes as text, the way a list of them is written out: "(\n    {name},\n    {name}\n)".
QString textOfNodes(const QList<TreeNode *> &nodes)
{
    QStringList lines;
    for (const TreeNode *node : nodes)
        lines << QStringLiteral("    ") + node->description();
    return QStringLiteral("(\n") + lines.join(QStringLiteral(",\n")) + QStringLiteral("\n)");
}

QStringList localPaths(const QList<QUrl> &urls)
{
    QStringList paths;
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

MediaDrop::MediaDrop(MP3DataSource *source, MediaTree *mediaTree, SettingsModel *settings)
    : QObject(source)
    , mSource(source)
    , mMediaTree(mediaTree)
    , mSettings(settings)
    , mCancelThread(std::make_shared<std::atomic_bool>(false))
{
    connect(mMediaTree, &MediaTree::treeAboutToBeReplaced, this, &MediaDrop::forgetTree);
    connect(mSource, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &parent, int first, int last) {
            forgetNodesBelow(mSource->nodeForIndex(parent), first, last);
        });
}

MediaDrop::~MediaDrop()
{
    for (RunningSearch &running : mSearches)
        disconnect(running.search.get(), nullptr, this, nullptr);
    mSearches.clear();
}

void MediaDrop::awakeFromNib(MP3OutlineView *view)
{
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDropIndicatorShown(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDefaultDropAction(Qt::CopyAction);
}

QStringList MediaDrop::mimeTypes() const
{
    return { QString::fromLatin1(kNodesMimeType), QStringLiteral("text/uri-list"), QStringLiteral("text/plain") };
}

QMimeData *MediaDrop::writeItems(const QList<TreeNode *> &nodes)
{
    mDraggedNodes.clear();
    for (TreeNode *node : nodes) {
        if (!mDraggedNodes.contains(node))
            mDraggedNodes.append(node);
    }
    std::sort(mDraggedNodes.begin(), mDraggedNodes.end(),
        [](const TreeNode *a, const TreeNode *b) { return treePosition(a) < treePosition(b); });
    // Tells this drag from an earlier one and from another window's.
    mDragToken = QStringLiteral("%1:%2").arg(QApplication::applicationPid()).arg(++mDragCount).toLatin1();
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kNodesMimeType), mDragToken);
    data->setText(textOfNodes(mDraggedNodes));
    return data;
}

bool MediaDrop::isOwnDrag(const QMimeData *data) const
{
    return !mDraggedNodes.isEmpty() && data->data(QString::fromLatin1(kNodesMimeType)) == mDragToken;
}

bool MediaDrop::canDrop(const QMimeData *data, int row, TreeNode *parent) const
{
    if (!parent && row < 0)
        row = mSource->treeData()->numberOfChildren();
    return validateDrop(data, parent, row);
}

bool MediaDrop::drop(const QMimeData *data, int row, TreeNode *parent)
{
    if (!parent && row < 0)
        row = mSource->treeData()->numberOfChildren();
    if (!validateDrop(data, parent, row))
        return false;
    acceptDrop(data, parent, row);
    return true;
}

bool MediaDrop::validateDrop(const QMimeData *data, TreeNode *target, int childIndex) const
{
    if (!data)
        return false;
    const bool ownDrag = isOwnDrag(data);
    if (!ownDrag && !data->hasUrls() && !data->hasText())
        return false;
    return DropPolicy::validateDrop(mSource->treeData(), target, childIndex,
        ownDrag ? mDraggedNodes : QList<TreeNode *>(), &MP3DataSource::duplicateSiblingExists);
}

void MediaDrop::acceptDrop(const QMimeData *data, TreeNode *target, int childIndex)
{
    const DropPolicy::Place place = DropPolicy::acceptDrop(mSource->treeData(), target, childIndex);
    performDropOperation(data, place.group, place.index);
}

// Plain text alone changes nothing, and a drop that changed nothing leaves
// the tree file and the disc image alone.
void MediaDrop::performDropOperation(const QMimeData *data, TreeNode *group, int index)
{
    if (isOwnDrag(data)) {
        const QList<TreeNode *> nodes = std::exchange(mDraggedNodes, {});
        moveNodes(nodes, group, index);
    } else if (data->hasUrls()) {
        addFiles(localPaths(data->urls()), group, index);
    }
}

bool MediaDrop::dropPaths(const QStringList &paths, TreeNode *group, int index)
{
    TreeNode *into = group ? group : mSource->treeData();
    if (SimpleTreeNode::isLeafNode(into)) {
        refuse();
        return false;
    }
    return addFiles(paths, into, index < 0 ? into->numberOfChildren() : std::min(index, into->numberOfChildren()));
}

// Every node of the cover leaves its place, then all go into `group` at
// `index` in cover order; each reports its old and new full path.
void MediaDrop::moveNodes(const QList<TreeNode *> &nodes, TreeNode *group, int index)
{
    const QList<TreeNode *> cover = TreeNode::minimumNodeCoverFromNodesInArray(nodes);
    const QList<TreeNode *> selection = mSource->selectedNodes();
    const QList<TreeNode *> openGroups = openGroupsIn(cover);
    int at = DropPolicy::indexAfterTaking(cover, group, index);
    QStringList oldPaths;
    std::vector<std::unique_ptr<TreeNode>> taken;
    for (TreeNode *node : cover) {
        oldPaths << MediaTree::fullPathToNode(node);
        taken.push_back(mSource->takeNode(node));
    }
    for (std::unique_ptr<TreeNode> &node : taken) {
        if (node)
            mSource->insertNode(std::move(node), group, at++);
    }
    for (qsizetype position = 0; position < cover.size(); ++position)
        emit mSource->pathChanged(oldPaths.at(position), MediaTree::fullPathToNode(cover.at(position)));
    if (MP3OutlineView *view = mSource->outlineView()) {
        for (TreeNode *open : openGroups)
            view->expand(mSource->indexForNode(open));
    }
    finishDrop(selection, group);
}

// The groups the view shows open, among `nodes` and below them: a move
// takes rows out and puts them back, which closes them.
QList<TreeNode *> MediaDrop::openGroupsIn(const QList<TreeNode *> &nodes) const
{
    QList<TreeNode *> open;
    MP3OutlineView *view = mSource->outlineView();
    if (!view)
        return open;
    for (TreeNode *node : nodes) {
        QList<TreeNode *> groups;
        mMediaTree->getMediaNodes(node, groups);
        for (TreeNode *group : groups) {
            if (view->isExpanded(mSource->indexForNode(group)))
                open << group;
        }
    }
    return open;
}

// Paths in list order, from `index` on. Folders are searched after the
// return; the figures under the tree are recounted once for the files.
bool MediaDrop::addFiles(const QStringList &paths, TreeNode *group, int index)
{
    TreeNode *lastAdded = nullptr;
    bool addedFile = false;
    bool complete = true;
    for (const QString &path : paths) {
        const bool isFolder = QFileInfo(path).isDir();
        std::unique_ptr<TreeNode> node = newNode(path, !isFolder);
        MP3DataSource::numberName(node.get(), group);
        if (!isFolder && !FolderSearch::isMovieName(path)) {
            refuse();
            complete = false;
            break;
        }
        lastAdded = mSource->insertNode(std::move(node), group, index++);
        if (isFolder)
            startSearch(lastAdded);
        else
            addedFile = true;
    }
    if (addedFile)
        mMediaTree->updateSizeInUI();
    // What the drop added before a beep stays: screen and file agree on it.
    if (lastAdded)
        finishDrop({ lastAdded }, group);
    return complete;
}

void MediaDrop::finishDrop(const QList<TreeNode *> &selection, TreeNode *group)
{
    MP3OutlineView *view = mSource->outlineView();
    if (view) {
        // Show what arrived.
        const SimpleNodeData *data = SimpleTreeNode::dataOf(group);
        if (group != mSource->treeData() && data && data->isExpandable())
            view->expand(mSource->indexForNode(group));
        view->selectItems(selection, false);
    }
    saveTree();
    mMediaTree->invalidateImages(mSettings ? mSettings->projectFolder() : QString());
}

void MediaDrop::refuse()
{
    QApplication::beep();
    emit refused();
}

void MediaDrop::saveTree()
{
    const QString folder = mSettings ? mSettings->projectFolder() : QString();
    if (!folder.isEmpty())
        mMediaTree->saveToFile(QDir(folder).filePath(QString::fromLatin1(MediaTree::kTreeFileName)));
}

// One sheet for all searches, from the first until the last has ended.
void MediaDrop::startSearch(TreeNode *group)
{
    if (mSearches.empty()) {
        mCancelThread->store(false);
        MP3OutlineView *view = mSource->outlineView();
        if (view && !mSearchSheet) {
            mSearchSheet = new SearchSheet(view->window());
            connect(mSearchSheet, &QDialog::finished, this, &MediaDrop::handleSheet);
            mSearchSheet->open();
        }
    }
    auto search = std::make_unique<FolderSearch>(SimpleTreeNode::nameOf(group), mCancelThread, this);
    const FolderSearch *key = search.get();
    connect(key, &FolderSearch::found, this, [this, key](const FolderSearch::Batch &batch) { addFound(key, batch); });
    connect(key, &FolderSearch::finished, this, [this, key] { searchEnded(key); });
    connect(key, &FolderSearch::folderBegun, this, [this](const QString &path) {
        if (mSearchSheet)
            mSearchSheet->showFolder(path);
    });
    mSearches.push_back({ std::move(search), { { 0, group } } });
    FolderSearch *started = mSearches.back().search.get();
    emit searchStarted(started);
    started->start();
}

std::vector<MediaDrop::RunningSearch>::iterator MediaDrop::findSearch(const FolderSearch *search)
{
    return std::find_if(mSearches.begin(), mSearches.end(),
        [search](const RunningSearch &running) { return running.search.get() == search; });
}

MediaDrop::RunningSearch *MediaDrop::runningSearch(const FolderSearch *search)
{
    const auto found = findSearch(search);
    return found == mSearches.end() ? nullptr : &*found;
}

// The search walks the walk's order, so every find goes to the end of its
// group.
void MediaDrop::addFound(const FolderSearch *search, const FolderSearch::Batch &batch)
{
    RunningSearch *running = runningSearch(search);
    if (!running)
        return;
    for (const FolderSearch::Found &found : batch) {
        TreeNode *parent = running->groups.value(found.parent);
        if (!parent)
            continue;
        TreeNode *added
            = mSource->insertNode(newNode(found.path, !found.isFolder()), parent, parent->numberOfChildren());
        if (found.isFolder())
            running->groups.insert(found.folder, added);
    }
}

// After the last search: the sheet goes, the figures are recounted and the
// tree file gets what the searches found.
void MediaDrop::searchEnded(const FolderSearch *search)
{
    const auto ended = findSearch(search);
    if (ended == mSearches.end())
        return;
    FolderSearch *finished = ended->search.release();
    mSearches.erase(ended);
    finished->wait();
    finished->deleteLater();
    if (!mSearches.empty())
        return;
    if (mSearchSheet)
        mSearchSheet->done(0);
    mMediaTree->updateSizeInUI();
    saveTree();
    emit searchesFinished();
}

void MediaDrop::handleSheet(int returnCode)
{
    if (returnCode == SearchSheet::kCancel)
        mCancelThread->store(true);
}

// Groups that leave the tree take no more finds.
void MediaDrop::forgetNodesBelow(TreeNode *parent, int first, int last)
{
    QList<TreeNode *> removed;
    for (int row = first; row <= last && row < parent->numberOfChildren(); ++row)
        removed << parent->childAtIndex(row);
    for (RunningSearch &running : mSearches)
        running.groups.removeIf([&removed](std::pair<const int &, TreeNode *&> group) {
            return group.second->isDescendantOfNodeInArray(removed);
        });
}

void MediaDrop::forgetTree()
{
    mDraggedNodes.clear();
    mCancelThread->store(true);
    for (RunningSearch &running : mSearches)
        running.groups.clear();
}

AddMediaPanel *MediaDrop::addPanel() const
{
    return mAddPanel;
}

SearchSheet *MediaDrop::searchSheet() const
{
    return mSearchSheet;
}

void MediaDrop::addMP3()
{
    if (mAddPanel)
        return;
    MP3OutlineView *view = mSource->outlineView();
    mAddPanel = new AddMediaPanel(view ? view->window() : nullptr);
    connect(mAddPanel, &QDialog::finished, this, &MediaDrop::openPanelDidEnd);
    mAddPanel->open();
}

void MediaDrop::openPanelDidEnd(int returnCode)
{
    if (returnCode != QDialog::Accepted || !mAddPanel)
        return;
    const QStringList chosen = mAddPanel->selectedFiles();
    if (!chosen.isEmpty())
        dropPaths(chosen);
}
