#include "media/TreeFile.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

TreeFile::ReadResult TreeFile::read(const QString& path)
{
    ReadResult result;
    const PropertyList::ReadResult plist = PropertyList::readFile(path);
    QVariantMap dictionary;
    if (!plist.ok())
        result.problems.append(plist.error.isEmpty() ? QStringLiteral("no property list") : plist.error);
    else if (plist.value.typeId() != QMetaType::QVariantMap)
        result.problems.append(
            QStringLiteral("the root is no dictionary but %1").arg(QLatin1String(plist.value.typeName())));
    else
        dictionary = plist.value.toMap();
    result.tree = SimpleTreeNode::treeFromDictionary(dictionary, &result.problems);
    return result;
}

namespace {

struct GroupInProgress {
    const TreeNode* node;
    QVariantList entries;
    int nextChild = 0;
};

QVariantMap groupDictionary(const TreeNode* node, QVariantList entries)
{
    return QVariantMap { { QStringLiteral("Group"), SimpleTreeNode::nameOf(node) },
        { QStringLiteral("Entries"), std::move(entries) } };
}

} // namespace

QVariantMap TreeFile::treeToDictionary(const TreeNode* root)
{
    // A group's dictionary is complete only after all its children's, so
    // groups wait on a stack of their own instead of the call stack.
    std::vector<GroupInProgress> open { { root, {} } };
    for (;;) {
        GroupInProgress& group = open.back();
        if (group.nextChild < group.node->numberOfChildren()) {
            const TreeNode* child = group.node->childAtIndex(group.nextChild++);
            if (SimpleTreeNode::isLeafNode(child))
                group.entries.append(SimpleTreeNode::nameOf(child));
            else
                open.push_back({ child, {} });
            continue;
        }
        QVariantMap finished = groupDictionary(group.node, std::move(group.entries));
        open.pop_back();
        if (open.empty())
            return finished;
        open.back().entries.append(finished);
    }
}

bool TreeFile::write(const QString& path, const TreeNode* root, QString* error)
{
    return PropertyList::writeXmlFile(path, treeToDictionary(root), error);
}

QString TreeFile::keepAside(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    QString copy = path + QStringLiteral(".bad");
    for (int number = 2; QFileInfo::exists(copy); ++number)
        copy = path + QStringLiteral(".bad-%1").arg(number);
    return QFile::copy(path, copy) ? copy : QString();
}
