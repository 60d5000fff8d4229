#include "app/batch/KestrinBatch.h"

#include "authoring/ImageJob.h"
#include "settings/ProjectFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

KestrinBatch::KestrinBatch(QObject *parent)
    : QObject(parent)
    , mPreferences(&mSettings)
    , mTree(&mSettings)
{ }

void KestrinBatch::print(const QString &line) const
{
    std::fprintf(stderr, "kestrin-batch: %s\n", qPrintable(line));
    std::fflush(stderr);
}

void KestrinBatch::stop()
{
    mStopRequested = true;
    if (mStopCurrentStep)
        mStopCurrentStep();
}

bool KestrinBatch::openProject(const QString &folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    if (!ProjectFolder::isProjectFolder(path)) {
        print(tr("%1 is no Kestrin project folder: it holds no %2.")
                  .arg(path, QString::fromLatin1(ProjectFolder::kTreeFileName)));
        return false;
    }
    mSettings.setProjectFolder(path);
    if (!mTree.loadFromFile(QDir(path).filePath(QString::fromLatin1(ProjectFolder::kTreeFileName))))
        print(tr("warning: the media tree could not be read whole; going on with what could be read."));
    mPreferences.projectSettingsLoad(path);
    print(tr("project %1: %2, movies in the tree: %3")
              .arg(path, mSettings.formatVCD() ? tr("Video CD") : tr("Super Video CD"))
              .arg(ImageJob::mediaList(mTree).size()));
    return true;
}

void KestrinBatch::followImage(ImageJob &job) const
{
    connect(&job, &ImageJob::stepChanged, this, [this](const QString &step) { print(tr("image: %1").arg(step)); });
    connect(&job, &ImageJob::scanProgressChanged, this,
        [this](int percent) { print(tr("image: scanning %1%").arg(percent)); });
    connect(&job, &ImageJob::writeProgressChanged, this,
        [this](int percent) { print(tr("image: writing %1%").arg(percent)); });
}

bool KestrinBatch::buildImage()
{
    const QString folder = mSettings.projectFolder();
    const QStringList mediaList = ImageJob::mediaList(mTree);
    switch (ImageJob::readiness(folder, mediaList)) {
    case ImageJob::Readiness::NotConverted:
        print(tr("image failed: the movies must be converted first (%1 MPEG files for %2 movies).")
                  .arg(ImageJob::countMPEGFiles(folder))
                  .arg(mediaList.size()));
        return false;
    case ImageJob::Readiness::NoMovies:
        print(tr("image failed: there are no movies in the media tree."));
        return false;
    case ImageJob::Readiness::Ready:
        break;
    }
    ImageJob job(mTree, mSettings);
    followImage(job);
    mStopCurrentStep = [&job] { job.stop(); };
    const ImageReport report = job.run(mediaList);
    mStopCurrentStep = nullptr;
    if (report.succeeded()) {
        print(tr("image: done, %1").arg(QDir(folder).filePath(QString::fromLatin1(ImageJob::kTocFileName))));
        return true;
    }
    if (report.stopped())
        print(tr("image: stopped; the disc image is out of date."));
    else
        print(tr("image failed: %1").arg(report.failureText()));
    return false;
}
