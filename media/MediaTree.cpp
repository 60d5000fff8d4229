#include "media/MediaTree.h"

#include "media/SimpleNodeData.h"
#include "media/TreeFile.h"
#include "platform/Movie.h"
#include "platform/PropertyList.h"
#include "platform/Resources.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

QString appendingPathComponent(const QString& left, const QString& right)
{
    if (left.isEmpty())
        return right;
    if (right.isEmpty())
        return left;
    const bool leftEnds = left.endsWith(QLatin1Char('/'));
    const bool rightBegins = right.startsWith(QLatin1Char('/'));
    if (leftEnds && rightBegins)
        return left + right.mid(1);
    if (leftEnds || rightBegins)
        return left + right;
    return left + QLatin1Char('/') + right;
}

QString filePath(const QString& folder, const char* name)
{
    return QDir(folder).filePath(QString::fromLatin1(name));
}

} // namespace

MediaTree::MediaTree(SettingsModel* settings, QObject* parent)
    : QObject(parent)
    , mSettings(settings)
{
    loadDefaultTree();
    if (mSettings) {
        connect(mSettings, &SettingsModel::valueChanged, this, [this](const QString& key) {
            if (key == QLatin1String("FormatVCD") || key == QLatin1String("FormatSVCD"))
                emit barMaximumChanged(barMaximum());
        });
    }
}

MediaTree::~MediaTree() = default;

void MediaTree::replaceTree(std::unique_ptr<TreeNode> tree)
{
    emit treeAboutToBeReplaced();
    mTreeData = std::move(tree);
    emit treeReplaced();
}

void MediaTree::loadDefaultTree()
{
    const QString path = Resources::dataFile(QString::fromLatin1(kDefaultTreeResource));
    TreeFile::ReadResult read = TreeFile::read(path);
    if (!read.complete())
        qWarning("MediaTree: default tree \"%s\": %s", qPrintable(path), qPrintable(read.problems.join(u"; ")));
    replaceTree(std::move(read.tree));
    mUnreadFile.forget();
}

void MediaTree::setTreeData(std::unique_ptr<TreeNode> tree)
{
    replaceTree(std::move(tree));
    updateSizeInUI();
}

bool MediaTree::loadFromFile(const QString& path)
{
    TreeFile::ReadResult read = TreeFile::read(path);
    const bool complete = read.complete();
    if (complete) {
        mUnreadFile.forget();
    } else {
        qWarning("loadFromFile: %s: %s", qPrintable(path), qPrintable(read.problems.join(u"; ")));
        mUnreadFile.remember(path);
    }
    replaceTree(std::move(read.tree));
    updateSizeInUI();
    return complete;
}

bool MediaTree::saveToFile(const QString& path)
{
    if (!mUnreadFile.keepAsideBefore(path, "saveToFile"))
        return false;
    QString error;
    if (!TreeFile::write(path, mTreeData.get(), &error)) {
        qWarning("saveToFile: %s: %s", qPrintable(path), qPrintable(error));
        return false;
    }
    return true;
}

void MediaTree::flushTree(const QString& projectFolder)
{
    loadDefaultTree();
    saveToFile(filePath(projectFolder, kTreeFileName));
    updateSizeInUI();
}

void MediaTree::getMediaFiles(const TreeNode* node, QStringList& mediaFiles) const
{
    TreeNode::walkDepthFirst(node ? node : mTreeData.get(), [&mediaFiles](const TreeNode* visited) {
        if (!SimpleTreeNode::isLeafNode(visited))
            return true;
        mediaFiles.append(SimpleTreeNode::nameOf(visited));
        return false;
    });
}

void MediaTree::getMediaNodes(TreeNode* node, QList<TreeNode*>& mediaNodes) const
{
    TreeNode::walkDepthFirst(node ? node : mTreeData.get(), [&mediaNodes](TreeNode* visited) {
        if (SimpleTreeNode::isLeafNode(visited))
            return false;
        mediaNodes.append(visited);
        return true;
    });
}

QString MediaTree::fullPathToNode(const TreeNode* node)
{
    QString path = SimpleTreeNode::nameOf(node);
    for (const TreeNode* ancestor = node->nodeParent(); ancestor; ancestor = ancestor->nodeParent())
        path = appendingPathComponent(SimpleTreeNode::nameOf(ancestor), path);
    return path;
}

void MediaTree::invalidateImages(const QString& projectFolder)
{
    // Without a project there is no image; an empty path would mean the
    // current folder.
    if (projectFolder.isEmpty())
        return;
    QFile marker(filePath(projectFolder, kInvalidImagesFileName));
    if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qWarning("invalidateImages: %s: %s", qPrintable(marker.fileName()), qPrintable(marker.errorString()));
    marker.close();
    // Links are not followed: only the project's own image files go.
    QDirIterator entries(projectFolder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry = entries.nextFileInfo();
        if (entry.suffix() == QLatin1String("img"))
            QFile::remove(entry.filePath());
    }
}

void MediaTree::validateImages(const QString& projectFolder)
{
    QFile::remove(filePath(projectFolder, kInvalidImagesFileName));
}

int MediaTree::barMaximum() const
{
    return mSettings && mSettings->formatVCD() ? kVCDMinutes : kSVCDMinutes;
}

void MediaTree::updateSizeInUI()
{
    mkBytesUsedValue = 0;
    mMissingItemsValue = 0;
    emit usedMinutesChanged(0.0);
    emit missingItemsChanged(0);
    sumTree(mTreeData.get());
    emit barMaximumChanged(barMaximum());
    emit missingItemsColorChanged(missingItemsColor());
}

void MediaTree::sumTree(const TreeNode* node)
{
    TreeNode::walkDepthFirst(node, [this](const TreeNode* visited) {
        if (!SimpleTreeNode::isLeafNode(visited))
            return true;
        addMediaItem(SimpleTreeNode::nameOf(visited));
        return false;
    });
}

void MediaTree::addMediaItem(const QString& path)
{
    // A name that is no absolute path ("New Leaf") names no file.
    const QFileInfo file(path);
    if (!file.isAbsolute() || !file.exists()) {
        ++mMissingItemsValue;
        emit missingItemsChanged(mMissingItemsValue);
    } else if (const std::unique_ptr<Movie> movie = Movie::open(path); movie && movie->timeScale() > 0) {
        // Whole seconds, rounded down.
        mkBytesUsedValue += movie->duration() / movie->timeScale();
    }
    emit usedMinutesChanged(minutesUsed());
}
