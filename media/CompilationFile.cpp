#include "media/CompilationFile.h"

#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

const QString kGroupKey = QStringLiteral("Group");
const QString kEntriesKey = QStringLiteral("Entries");

// Where the text of one group stands: its children are written one after
// another, and the group is closed after its last.
struct OpenGroup
{
    const TreeNode *node;
    int nextChild = 0;
};

} // namespace

void CompilationFile::appendQuoted(QByteArray &text, const QString &name)
{
    text += '"';
    for (const char byte : name.toUtf8()) {
        if (byte == '"' || byte == '\\')
            text += '\\';
        text += byte;
    }
    text += '"';
}

QByteArray CompilationFile::printTree(const TreeNode *node)
{
    QByteArray text;
    auto openGroup = [&text](const TreeNode *group) {
        text += "{\nGroup = ";
        appendQuoted(text, SimpleTreeNode::nameOf(group));
        text += ";\nEntries = (";
    };
    if (SimpleTreeNode::isLeafNode(node)) {
        appendQuoted(text, SimpleTreeNode::nameOf(node));
        return text;
    }
    // Deep trees are walked with a stack of their own, not the call stack.
    std::vector<OpenGroup> open { { node } };
    openGroup(node);
    while (!open.empty()) {
        OpenGroup &group = open.back();
        if (group.nextChild == group.node->numberOfChildren()) {
            text += ");\n}";
            open.pop_back();
            continue;
        }
        const TreeNode *child = group.node->childAtIndex(group.nextChild);
        if (group.nextChild++ > 0)
            text += ", ";
        if (SimpleTreeNode::isLeafNode(child)) {
            appendQuoted(text, SimpleTreeNode::nameOf(child));
        } else {
            openGroup(child);
            open.push_back({ child });
        }
    }
    return text;
}

QString CompilationFile::compilationPath(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String(kExtension), Qt::CaseInsensitive) == 0)
        return path;
    return path + QLatin1Char('.') + QLatin1String(kExtension);
}

bool CompilationFile::write(const QString &path, const TreeNode *root, QString *error)
{
    QFile existing(path);
    if (existing.exists() && !(existing.permissions() & QFileDevice::WriteOwner))
        existing.setPermissions(existing.permissions() | QFileDevice::WriteOwner);
    return PropertyList::writeFileAtomically(path, printTree(root), error);
}

CompilationFile::ReadResult CompilationFile::read(const QString &path)
{
    ReadResult result;
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("%1 is a folder").arg(path);
        return result;
    }
    const PropertyList::ReadResult plist = PropertyList::readFile(path);
    if (!plist.ok()) {
        result.error = plist.error.isEmpty() ? QStringLiteral("%1 is no property list").arg(path) : plist.error;
        return result;
    }
    const QVariantMap dictionary = plist.value.toMap();
    if (plist.value.typeId() != QMetaType::QVariantMap || !dictionary.contains(kGroupKey)
        || !dictionary.contains(kEntriesKey)) {
        result.error = QStringLiteral("%1 holds no group with entries").arg(path);
        return result;
    }
    QStringList problems;
    std::unique_ptr<SimpleTreeNode> tree = SimpleTreeNode::treeFromDictionary(dictionary, &problems);
    if (!problems.isEmpty()) {
        result.error = QStringLiteral("%1: %2").arg(path, problems.join(QStringLiteral("; ")));
        return result;
    }
    result.tree = std::move(tree);
    return result;
}
