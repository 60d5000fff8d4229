// Recounting the totals of a media tree of 500 real movies, which happens
// after every edit that adds or removes media. Target: under 2 s.
#include "common/Fixtures.h"
#include "media/MediaTree.h"
#include "media/SimpleNodeData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMovies = 500;
constexpr int kGroups = 10;
constexpr int kRuns = 5;
constexpr double kTargetSeconds = 2.0;

// Distinct files, copied from a few clips of different lengths and kinds.
QStringList makeMovies(const QString& folder)
{
    const QStringList sources { Fixtures::tinyClip(QStringLiteral("2")), Fixtures::tinyClip(QStringLiteral("59.9")),
        Fixtures::h264AacMov(), Fixtures::mpeg1Mp2Mpg(), Fixtures::mjpegPcmAvi() };
    QStringList movies;
    for (int index = 0; index < kMovies; ++index) {
        const QString source = sources.at(index % sources.size());
        const QString copy = QStringLiteral("%1/movie%2.%3").arg(folder).arg(index).arg(QFileInfo(source).suffix());
        if (source.isEmpty() || !QFile::copy(source, copy))
            return {};
        movies << copy;
    }
    return movies;
}

void fillTree(MediaTree& tree, const QStringList& movies)
{
    TreeNode* root = tree.treeData();
    for (int group = 0; group < kGroups; ++group)
        root->insertChild(
            TreeNode::treeNodeWithData(SimpleNodeData::groupDataWithName(QStringLiteral("Group %1").arg(group))),
            group);
    for (int index = 0; index < movies.size(); ++index) {
        TreeNode* group = root->childAtIndex(index % kGroups);
        group->insertChild(
            TreeNode::treeNodeWithData(SimpleNodeData::leafDataWithName(movies.at(index))), group->numberOfChildren());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QStringList movies = makeMovies(folder.path());
    if (movies.size() != kMovies) {
        std::fprintf(stderr, "could not make the movies\n");
        return 1;
    }
    MediaTree tree;
    fillTree(tree, movies);

    std::vector<double> seconds;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        tree.updateSizeInUI();
        seconds.push_back(timer.nsecsElapsed() / 1e9);
    }
    const double first = seconds.front();
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds.at(seconds.size() / 2);
    std::printf("updateSizeInUI on %d movies in %d groups (%lld s of movie, %d missing)\n", kMovies, kGroups,
        static_cast<long long>(tree.secondsUsed()), tree.missingItems());
    std::printf("  first run  %.3f s\n  best       %.3f s\n  median     %.3f s (%.2f ms per movie)\n", first,
        seconds.front(), median, median * 1000.0 / kMovies);
    std::printf("  target     under %.1f s: %s\n", kTargetSeconds, seconds.back() < kTargetSeconds ? "met" : "MISSED");
    return seconds.back() < kTargetSeconds && tree.missingItems() == 0 ? 0 : 1;
}
