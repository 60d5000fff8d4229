#pragma once

#include "media/SimpleTreeNode.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

// The media tree's file form: the tree dictionary as a property list. Any
// property-list encoding is read; the XML form is written, atomically.
class TreeFile {
public:
    struct ReadResult {
        std::unique_ptr<SimpleTreeNode> tree; // never null: a bare root when nothing could be read
        QStringList problems; // what was not understood; empty for a clean read
        bool complete() const { return problems.isEmpty(); }
    };

    static ReadResult read(const QString& path);

    static QVariantMap treeToDictionary(const TreeNode* root);
    static bool write(const QString& path, const TreeNode* root, QString* error = nullptr);

    // Copies the file beside itself as "<path>.bad" (or "<path>.bad-2", ...
    // when that is taken), so that a file Kestrin could not fully read
    // survives the next save. Answers the copy's path, empty on failure.
    static QString keepAside(const QString& path);
};
