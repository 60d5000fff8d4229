#include "authoring/ImageJob.h"

#include "authoring/DiscDescription.h"
#include "authoring/VcdxbuildProgress.h"
#include "media/MediaTree.h"
#include "platform/ToolProcess.h"
#include "settings/SettingsModel.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kReportedLines = 10;

void keepLast(QStringList &lines, const QString &line)
{
    lines.append(line);
    if (lines.size() > kReportedLines)
        lines.removeFirst();
}

} // namespace

ImageJob::ImageJob(MediaTree &tree, SettingsModel &settings, const DiscMenus *menus, QObject *parent)
    : QObject(parent)
    , mTree(tree)
    , mSettings(settings)
    , mMenus(menus)
{
    qRegisterMetaType<ImageReport>();
}

ImageJob::~ImageJob()
{
    stop();
    if (mImageThread.joinable())
        mImageThread.join();
}

QStringList ImageJob::mediaList(const MediaTree &tree)
{
    QStringList list;
    tree.getMediaFiles(nullptr, list);
    return list;
}

int ImageJob::countMPEGFiles(const QString &folder)
{
    int count = 0;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (entries.hasNext())
        if (entries.nextFileInfo().suffix() == QLatin1String("mpg"))
            ++count;
    return count;
}

ImageJob::Readiness ImageJob::readiness(const QString &projectFolder, const QStringList &mediaList)
{
    if (countMPEGFiles(projectFolder) < mediaList.size())
        return Readiness::NotConverted;
    return mediaList.isEmpty() ? Readiness::NoMovies : Readiness::Ready;
}

QString ImageJob::imagePathname(const QString &projectFolder)
{
    return QDir(projectFolder).filePath(QString::fromLatin1(kImageBase) + QStringLiteral("_xx.img"));
}

QStringList ImageJob::vcdxbuildArguments(const QString &projectFolder)
{
    const QDir folder(projectFolder);
    return { QStringLiteral("--progress"), QStringLiteral("--gui"), QStringLiteral("--image-type=cdrdao"),
        QStringLiteral("--cdrdao-file=") + folder.filePath(QString::fromLatin1(kImageBase)),
        folder.filePath(QString::fromLatin1(DiscDescription::kFileName)) };
}

QString ImageJob::projectFile(const char *name) const
{
    return QDir(mProjectFolder).filePath(QString::fromLatin1(name));
}

void ImageJob::fillDefaults()
{
    if (mSettings.author().isEmpty())
        mSettings.setValue(QStringLiteral("Author"), tr("Unspecified Author"));
    if (mSettings.title().isEmpty())
        mSettings.setValue(QStringLiteral("Title"), QStringLiteral("Video_CD"));
}

void ImageJob::start(const QStringList &mediaList)
{
    if (mRunning.exchange(true))
        return;
    mProjectFolder = mSettings.projectFolder();
    mUserDidCancelImaging = false;
    mReport = {};
    if (mProjectFolder.isEmpty()) {
        // Without a folder there is nothing to mark or delete, and no place for the image.
        mReport.reason = tr("No project is open.");
        QMetaObject::invokeMethod(this, &ImageJob::imagePanelDone, Qt::QueuedConnection);
        return;
    }
    fillDefaults();
    mTree.invalidateImages(mProjectFolder);
    // A table of contents left from before would pass for this build's.
    QFile::remove(projectFile(kTocFileName));
    mImageThread = std::thread(&ImageJob::HandleImageThread, this, mediaList);
}

ImageReport ImageJob::run(const QStringList &mediaList)
{
    QEventLoop loop;
    connect(this, &ImageJob::finished, &loop, &QEventLoop::quit);
    start(mediaList);
    if (isRunning())
        loop.exec();
    return mReport;
}

void ImageJob::stop()
{
    mUserDidCancelImaging = true;
}

void ImageJob::HandleImageThread(const QStringList &mediaList)
{
    mReport = buildImage(mediaList);
    DiscDescription::removeLinks();
    QMetaObject::invokeMethod(this, &ImageJob::imagePanelDone, Qt::QueuedConnection);
}

ImageReport ImageJob::buildImage(const QStringList &mediaList)
{
    emit stepChanged(tr("Writing the disc description"));
    QString error;
    DiscDescription description(mTree, mSettings, mMenus);
    if (!description.makeXMLFile(mediaList, &error))
        return { ImageReport::Outcome::Failed, error, {}, {} };
    if (mUserDidCancelImaging)
        return { ImageReport::Outcome::Stopped, {}, {}, {} };
    ImageReport ran = runVcdxbuild(totalMPEGBytes(mediaList));
    nameFilesInsteadOfLinks(ran, mediaList);
    return judge(ran);
}

// vcdxbuild names the links it was given; the user knows the MPEG files.
// The highest numbers go first, so media_1 is not taken for part of media_12.
void ImageJob::nameFilesInsteadOfLinks(ImageReport &report, const QStringList &mediaList) const
{
    for (qsizetype i = mediaList.size() - 1; i >= 0; --i) {
        const QString link = DiscDescription::linkPath(i);
        const QString mpg = DiscDescription::mpgPathOf(mediaList.at(i), mProjectFolder);
        for (QString &line : report.errorLines)
            line.replace(link, mpg);
        report.output.replace(link, mpg);
    }
}

qint64 ImageJob::totalMPEGBytes(const QStringList &mediaList) const
{
    qint64 total = 0;
    for (const QString &movie : mediaList)
        total += QFileInfo(DiscDescription::mpgPathOf(movie, mProjectFolder)).size();
    return total;
}

ImageReport ImageJob::runVcdxbuild(qint64 totalBytes)
{
    ToolProcess vcdxbuild(QStringLiteral("vcdxbuild"), vcdxbuildArguments(mProjectFolder));
    vcdxbuild.setStopFlag(&mUserDidCancelImaging);
    VcdxbuildProgress progress(totalBytes);
    int scanShown = 0;
    int writeShown = 0;
    bool scanning = false;
    bool writing = false;
    QStringList messages; // what it said besides its progress
    if (vcdxbuild.start()) {
        vcdxbuild.closeWriteChannel();
        QString line;
        while (!mUserDidCancelImaging && vcdxbuild.readLine(&line)) {
            const VcdxbuildProgress::LineKind kind = progress.addLine(line);
            if (kind == VcdxbuildProgress::LineKind::Scan && !std::exchange(scanning, true))
                emit stepChanged(tr("Scanning the movies"));
            if (kind == VcdxbuildProgress::LineKind::Write && !std::exchange(writing, true))
                emit stepChanged(tr("Writing the disc image"));
            if (kind == VcdxbuildProgress::LineKind::Other && !line.trimmed().isEmpty())
                keepLast(messages, line);
            if (std::exchange(scanShown, progress.scanPercent()) != progress.scanPercent())
                emit scanProgressChanged(scanShown);
            if (std::exchange(writeShown, progress.writePercent()) != progress.writePercent())
                emit writeProgressChanged(writeShown);
        }
        // Stop is seen at once, even while lines are still waiting.
        if (mUserDidCancelImaging)
            vcdxbuild.stop();
    }
    const ToolProcess::Result result = vcdxbuild.finish();
    ImageReport ran;
    ran.errorLines = progress.errorLines();
    ran.output = messages.join(QLatin1Char('\n'));
    if (!result.started)
        ran.reason = result.error;
    else if (result.crashed)
        ran.reason = tr("vcdxbuild ended unexpectedly.");
    else if (result.exitCode != 0)
        ran.reason = tr("vcdxbuild failed (exit status %1).").arg(result.exitCode);
    return ran;
}

ImageReport ImageJob::judge(const ImageReport &ran) const
{
    ImageReport report = ran;
    if (mUserDidCancelImaging) {
        report.outcome = ImageReport::Outcome::Stopped;
        return report;
    }
    if (report.reason.isEmpty() && !report.errorLines.isEmpty())
        report.reason = tr("vcdxbuild reported errors.");
    if (report.reason.isEmpty() && !QFileInfo::exists(projectFile(kTocFileName)))
        report.reason = tr("vcdxbuild left no %1.").arg(QString::fromLatin1(kTocFileName));
    report.outcome = report.reason.isEmpty() ? ImageReport::Outcome::Succeeded : ImageReport::Outcome::Failed;
    return report;
}

// What a failed or stopped build left must not pass for a disc image.
void ImageJob::removeFailedImage()
{
    mTree.invalidateImages(mProjectFolder);
    QFile::remove(projectFile(kTocFileName));
}

void ImageJob::imagePanelDone()
{
    if (mImageThread.joinable())
        mImageThread.join();
    // Stop pressed after vcdxbuild's end but before this one counts all the same.
    if (mUserDidCancelImaging)
        mReport.outcome = ImageReport::Outcome::Stopped;
    if (mReport.succeeded())
        mTree.validateImages(mProjectFolder);
    else if (!mProjectFolder.isEmpty())
        removeFailedImage();
    mRunning = false;
    emit finished(mReport);
}
