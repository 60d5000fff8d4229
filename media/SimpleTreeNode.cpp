#include "media/SimpleTreeNode.h"

#include "media/SimpleNodeData.h"

#include <utility>
#include <vector>

namespace {

const QString kGroupKey = QStringLiteral("Group");
const QString kEntriesKey = QStringLiteral("Entries");

void note(QStringList* problems, const QString& problem)
{
    if (problems)
        problems->append(problem);
}

QString groupName(const QVariantMap& dictionary, QStringList* problems)
{
    const QVariant name = dictionary.value(kGroupKey);
    if (!name.isValid())
        return {};
    if (name.typeId() != QMetaType::QString) {
        note(problems, QStringLiteral("a group name of type %1 was left out").arg(QLatin1String(name.typeName())));
        return {};
    }
    return name.toString();
}

QVariantList groupEntries(const QVariantMap& dictionary, const QString& name, QStringList* problems)
{
    const QVariant entries = dictionary.value(kEntriesKey);
    if (!entries.isValid())
        return {};
    if (entries.typeId() != QMetaType::QVariantList) {
        note(problems, QStringLiteral("the entries of group \"%1\" are no list").arg(name));
        return {};
    }
    return entries.toList();
}

std::unique_ptr<SimpleTreeNode> groupNode(const QString& name)
{
    return std::make_unique<SimpleTreeNode>(SimpleNodeData::groupDataWithName(name));
}

} // namespace

std::unique_ptr<SimpleTreeNode> SimpleTreeNode::treeFromDictionary(const QVariantMap& dictionary, QStringList* problems)
{
    // Groups waiting for their entries, so that depth costs no stack.
    std::vector<std::pair<TreeNode*, QVariantMap>> pending;
    auto root = groupNode(groupName(dictionary, problems));
    pending.emplace_back(root.get(), dictionary);
    while (!pending.empty()) {
        auto [group, groupDictionary] = std::move(pending.back());
        pending.pop_back();
        const QString name = nameOf(group);
        for (const QVariant& entry : groupEntries(groupDictionary, name, problems)) {
            if (entry.typeId() == QMetaType::QString) {
                group->insertChild(std::make_unique<SimpleTreeNode>(SimpleNodeData::leafDataWithName(entry.toString())),
                    group->numberOfChildren());
            } else if (entry.typeId() == QMetaType::QVariantMap) {
                const QVariantMap child = entry.toMap();
                TreeNode* node = group->insertChild(groupNode(groupName(child, problems)), group->numberOfChildren());
                pending.emplace_back(node, child);
            } else {
                note(problems,
                    QStringLiteral("an entry of type %1 in group \"%2\" was left out")
                        .arg(QLatin1String(entry.typeName()), name));
            }
        }
    }
    return root;
}

SimpleNodeData* SimpleTreeNode::dataOf(const TreeNode* node)
{
    return dynamic_cast<SimpleNodeData*>(node->nodeData());
}

QString SimpleTreeNode::nameOf(const TreeNode* node)
{
    const SimpleNodeData* data = dataOf(node);
    if (data)
        return data->name();
    return node->nodeData() ? node->nodeData()->description() : QString();
}

bool SimpleTreeNode::isLeafNode(const TreeNode* node)
{
    const SimpleNodeData* data = dataOf(node);
    return data && data->isLeaf();
}
