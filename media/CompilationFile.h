#pragma once

#include "media/SimpleTreeNode.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A compilation file (".cd3"): the media tree kept apart from any project,
// as the tree dictionary in the text form of property lists, which is read
// back by the property-list reader:
//
//   {
//   Group = "Media";
//   Entries = ("/M/a.mov", {
//   Group = "G";
//   Entries = ();
//   });
//   }
//
// Names are UTF-8 with a backslash before every double quote and backslash;
// nothing follows the root's closing brace.
class CompilationFile
{
public:
    static constexpr const char *kExtension = "cd3";

    struct ReadResult
    {
        std::unique_ptr<SimpleTreeNode> tree; // null when the file is no compilation
        QString error; // why not, in words
        bool ok() const { return tree != nullptr; }
    };

    // The text of `node` and everything below it.
    static QByteArray printTree(const TreeNode *node);

    // The path a compilation chosen as `path` is saved under: the name as
    // it is when it ends in ".cd3" in any case, otherwise with ".cd3" added.
    static QString compilationPath(const QString &path);

    // Writes the tree to `path`, atomically. An existing file there is made
    // writable by its owner first. False with `error` set when the file
    // cannot be written.
    static bool write(const QString &path, const TreeNode *root, QString *error = nullptr);

    // A compilation must be a dictionary naming its group and listing its
    // entries, all of which must be understood: a file that reads only in
    // part is refused rather than losing what it holds.
    static ReadResult read(const QString &path);

private:
    static void appendQuoted(QByteArray &text, const QString &name);
};
