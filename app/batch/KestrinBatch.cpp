#include "app/batch/KestrinBatch.h"

#include "authoring/ImageJob.h"
#include "burning/BurnEngine.h"
#include "burning/BurnJob.h"
#include "burning/BurnTarget.h"
#include "conversion/ConversionJob.h"
#include "conversion/ConversionSettings.h"
#include "conversion/MovieSelection.h"
#include "platform/DRBurn.h"
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
    mMenus.setupMenus(path);
    print(tr("project %1: %2, movies in the tree: %3")
              .arg(path, mSettings.formatVCD() ? tr("Video CD") : tr("Super Video CD"))
              .arg(ImageJob::mediaList(mTree).size()));
    if (mSettings.menuTab() != 0)
        print(tr("menus on the disc: %1").arg(mMenus.count()));
    return true;
}

void KestrinBatch::followConversion(ConversionJob &job) const
{
    const auto movie = [this](const QString &part) {
        return [this, part](const QString &name) {
            if (!name.isEmpty())
                print(tr("convert: %1 of %2").arg(part, name));
        };
    };
    const auto percent = [this](const QString &part) {
        return [this, part](int value) { print(tr("convert: %1 %2%").arg(part).arg(value)); };
    };
    connect(&job, &ConversionJob::audioMovieChanged, this, movie(tr("sound")));
    connect(&job, &ConversionJob::videoMovieChanged, this, movie(tr("picture")));
    connect(&job, &ConversionJob::combineMovieChanged, this, movie(tr("multiplexing")));
    connect(&job, &ConversionJob::extractAudioProgressChanged, this, percent(tr("sound export")));
    connect(&job, &ConversionJob::convertAudioProgressChanged, this, percent(tr("sound encoding")));
    connect(&job, &ConversionJob::convertVideoProgressChanged, this, percent(tr("picture encoding")));
}

bool KestrinBatch::convert()
{
    const QString folder = mSettings.projectFolder();
    const MovieSelection::Result selection = MovieSelection::select(ImageJob::mediaList(mTree), folder);
    for (const MovieSelection::SharedBase &shared : selection.sharedBases)
        print(tr("warning: %1 and %2 share one converted file; only the first is converted.")
                  .arg(shared.kept, shared.other));
    if (selection.workList.isEmpty()) {
        print(tr("convert: every movie is converted already"));
        return true;
    }
    ConversionJob job(folder, ConversionSettings::fromModel(mSettings));
    followConversion(job);
    mStopCurrentStep = [&job] { job.stop(); };
    const ConversionReport report = job.run(selection.workList);
    mStopCurrentStep = nullptr;
    if (report.succeeded()) {
        print(tr("convert: done, %n movie(s) converted", nullptr, int(report.converted.size())));
        return true;
    }
    if (report.stopped)
        print(tr("convert: stopped; the movies converted before stay converted."));
    else
        print(tr("convert failed: %1").arg(report.failureText()));
    return false;
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
    ImageJob job(mTree, mSettings, &mMenus);
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

void KestrinBatch::followBurn(BurnJob &job) const
{
    connect(&job, &BurnJob::progressChanged, this, [this](const BurnProgress &progress) {
        if (progress.indeterminate)
            print(tr("burn: %1").arg(progress.step));
        else
            print(tr("burn: %1 %2%").arg(progress.step).arg(progress.percent));
    });
}

bool KestrinBatch::burn(const QString &recorder)
{
    QString error;
    const std::shared_ptr<DRBurn> target = BurnTarget::burnFor(recorder, &error);
    if (!target) {
        print(tr("burn failed: %1").arg(error));
        return false;
    }
    const QString folder = mSettings.projectFolder();
    if (!BurnJob::projectHasDiscImage(folder)) {
        print(tr("burn failed: the project holds no disc image; build it first."));
        return false;
    }
    // The preferences choose the engine, as in the window.
    mPreferences.prefsLoad();
    BurnJob job(folder, target, mPreferences.prefsIntForKey(QStringLiteral("prefsCdrdaoStored")) != 0);
    print(tr("burn: %1 with %2").arg(job.recorderName(), BurnEngineChoice::name(job.engine())));
    followBurn(job);
    mStopCurrentStep = [&job] { job.stop(); };
    const DiscJobResult result = job.run();
    mStopCurrentStep = nullptr;
    if (result.succeeded()) {
        print(tr("burn: done, %1").arg(result.message));
        return true;
    }
    if (result.outcome == DiscJobResult::Outcome::Stopped)
        print(tr("burn: stopped: %1").arg(result.message));
    else
        print(tr("burn failed: %1").arg(result.message));
    return false;
}
