#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class DRFolder;
class DRMSF;
class QDateTime;
class TreeNode;

// The data disc made of the media tree, without widgets: what it weighs, the
// size warnings, whether it fits the medium, its volume name, and the tree
// laid out as disc folders holding the media files themselves.
class DataDiscLayout
{
public:
    static constexpr int kBlockSize = 2048;
    // A free-space figure counts the 2-second lead-in like a disc address.
    static constexpr uint64_t kLeadInBlocks = 150;

    // The warnings the user asked for, in the messages' megabytes.
    struct Thresholds
    {
        bool warnSpace = false; // warn below warnSpaceMb
        qint64 warnSpaceMb = 600;
        bool warnMore = true; // warn above warnMoreMb
        qint64 warnMoreMb = 700;
    };
    enum class SizeWarning { None, NotEnoughMusic, TooMuchMusic };

    // The sizes in bytes of the media files below `root`, added up; a file
    // that is not there weighs nothing.
    static qint64 compilationBytes(const TreeNode *root);
    // Whole megabytes (2^20 bytes), rounded down.
    static qint64 megabytes(qint64 bytes) { return bytes >> 20; }
    // The "not enough" warning wins when both thresholds are crossed.
    static SizeWarning sizeWarning(qint64 megabytes, const Thresholds &thresholds);

    // The 2048-byte blocks a medium's free space holds; 0 for a figure of
    // at most 0:01:xx, which is all lead-in.
    static uint64_t freeBlocks(const DRMSF &spaceFree);
    static bool fitsOnMedia(qint64 bytes, uint64_t freeBlocks);

    // "Sonabel CD " with the year, day of the year, hour, minute and second,
    // each zero-padded and without separators ("Sonabel CD 2024032070809").
    static QString volumeName(const QDateTime &when);

    // Adds `node` to `parentFolder`: a media item as the file its name
    // points to, under that file's own name; a group as a new folder named
    // by the last component of the group's name, holding its children in
    // order.
    static void createTree(const TreeNode *node, DRFolder &parentFolder);
    // The disc's root folder, named `volumeName`, holding the root group.
    static std::shared_ptr<DRFolder> rootFolder(const TreeNode *root, const QString &volumeName);

};
