#pragma once

#include "media/FolderSearch.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

class AddMediaPanel;
class MP3DataSource;
class MP3OutlineView;
class MediaTree;
class QMimeData;
class SearchSheet;
class SettingsModel;
class TreeNode;

// Drag and drop on the media tree view, and the add command: nodes moved
// within the tree, dropped movie files added as media items, dropped folders
// added as groups that a search fills on a thread of its own. Every change
// goes through the tree model, so the views stay right, and every move
// reaches the menus through the model's pathChanged. A drop that changed the
// tree is saved to the project's tree file and throws the disc image away.
//
// Content dragged: the nodes of a drag within the tree (kNodesMimeType; the
// nodes stay here, the content only tells which drag it is), file URLs, and
// plain text (nodes dragged out of the view; dropped, it adds nothing).
// Main thread only.
class MediaDrop : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kNodesMimeType = "application/x-kestrin-media-nodes";

    MediaDrop(MP3DataSource *source, MediaTree *mediaTree, SettingsModel *settings);
    // Stops the searches still running and waits for them.
    ~MediaDrop() override;

    // Lets the view start drags and take drops.
    void awakeFromNib(MP3OutlineView *view);

    QStringList mimeTypes() const;
    // A drag starts: keeps the nodes for it, in tree order.
    QMimeData *writeItems(const QList<TreeNode *> &nodes);
    const QList<TreeNode *> &draggedNodes() const { return mDraggedNodes; }

    // The model's drop questions: `row` among the children of `parent` (the
    // top level when null), -1 for onto `parent`. The view asks for "onto
    // the top level" below its last row: that lands at the end of the top
    // level.
    bool canDrop(const QMimeData *data, int row, TreeNode *parent) const;
    bool drop(const QMimeData *data, int row, TreeNode *parent);

    // Adds files and folders as a drop of their paths would: into `group`
    // (the top level when null) at `index` (its end when -1), each movie as
    // a media item, each folder as a group searched for movies. A path that
    // is neither folder nor movie beeps and ends the list there; what came
    // before it stays, is saved and selected. False after such a beep.
    // Searches go on after the return: see isSearching and searchesFinished.
    bool dropPaths(const QStringList &paths, TreeNode *group = nullptr, int index = -1);
    bool isSearching() const { return !mSearches.empty(); }

    // The add command: a file panel whose choices go to the end of the top
    // level as if dropped there.
    void addMP3();
    AddMediaPanel *addPanel() const;
    SearchSheet *searchSheet() const;

signals:
    // A search is about to start; a receiver connected directly may follow
    // it from its own thread.
    void searchStarted(FolderSearch *search);
    // A drop was refused after the system beep.
    void refused();
    // The last running search has ended, its finds shown and saved.
    void searchesFinished();

private:
    struct RunningSearch
    {
        std::unique_ptr<FolderSearch> search;
        // The groups of the search's folders, by the search's folder numbers.
        QHash<int, TreeNode *> groups;
    };

    bool validateDrop(const QMimeData *data, TreeNode *target, int childIndex) const;
    void acceptDrop(const QMimeData *data, TreeNode *target, int childIndex);
    void performDropOperation(const QMimeData *data, TreeNode *group, int index);
    bool isOwnDrag(const QMimeData *data) const;
    void moveNodes(const QList<TreeNode *> &nodes, TreeNode *group, int index);
    QList<TreeNode *> openGroupsIn(const QList<TreeNode *> &nodes) const;
    bool addFiles(const QStringList &paths, TreeNode *group, int index);
    void finishDrop(const QList<TreeNode *> &selection, TreeNode *group);
    void refuse();
    void saveTree();

    void startSearch(TreeNode *group);
    std::vector<RunningSearch>::iterator findSearch(const FolderSearch *search);
    RunningSearch *runningSearch(const FolderSearch *search);
    void addFound(const FolderSearch *search, const FolderSearch::Batch &batch);
    void searchEnded(const FolderSearch *search);
    void handleSheet(int returnCode);
    void forgetNodesBelow(TreeNode *parent, int first, int last);
    void forgetTree();
    void openPanelDidEnd(int returnCode);

    MP3DataSource *mSource;
    MediaTree *mMediaTree;
    SettingsModel *mSettings;
    QList<TreeNode *> mDraggedNodes;
    QByteArray mDragToken;
    int mDragCount = 0;
    // The one cancel flag of all folder searches.
    std::shared_ptr<std::atomic_bool> mCancelThread;
    std::vector<RunningSearch> mSearches;
    QPointer<SearchSheet> mSearchSheet;
    QPointer<AddMediaPanel> mAddPanel;
};
