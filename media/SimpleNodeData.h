#pragma once

#include "media/TreeNodeData.h"

#include <QIcon>
#include <QString>

#include <memory>

// The payload of every media-tree node. A media item is named by the absolute
// path of its movie; a group by a folder path or by the plain name the user
// gave it. The icon and the expandable flag only serve the view and are never
// stored.
class SimpleNodeData : public TreeNodeData {
public:
    SimpleNodeData(const QString& name, bool isLeaf);

    static std::unique_ptr<SimpleNodeData> leafDataWithName(const QString& name);
    static std::unique_ptr<SimpleNodeData> groupDataWithName(const QString& name);

    const QString& name() const { return mName; }
    void setName(const QString& name) { mName = name; }

    const QIcon& iconRep() const { return mIconRep; }
    void setIconRep(const QIcon& icon) { mIconRep = icon; }

    bool isLeaf() const { return mIsLeaf; }
    void setIsLeaf(bool isLeaf) { mIsLeaf = isLeaf; }
    bool isGroup() const { return !mIsLeaf; }

    bool isExpandable() const { return mIsExpandable; }
    void setIsExpandable(bool isExpandable) { mIsExpandable = isExpandable; }

    // Names in code-point order, case first: "B" < "a" and "Clip10" < "Clip2".
    std::strong_ordering compare(const TreeNodeData& other) const override;
    QString description() const override { return mName; }

    // Code-point order of two strings, without locale rules.
    static std::strong_ordering compareNames(QStringView a, QStringView b);

private:
    QString mName;
    QIcon mIconRep;
    bool mIsLeaf;
    bool mIsExpandable;
};
