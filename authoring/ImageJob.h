#pragma once

#include "authoring/ImageReport.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

class DiscMenus;
class MediaTree;
class SettingsModel;

// Builds the project's disc image: writes the disc description, runs
// vcdxbuild on it to make Kestrin.toc and its track files in the project
// folder, follows its scan and write progress, and marks the images valid
// when it succeeded.
//
// Needs no window: the image sheet, the batch command and tests follow it
// through its signals, which arrive on the thread that owns the job. The
// worker reads the media tree, the menus and the settings while it runs, so
// whoever starts it keeps them from being edited until finished().
class ImageJob : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kImageBase = "Kestrin";
    static constexpr const char *kTocFileName = "Kestrin.toc";

    enum class Readiness {
        Ready,
        NotConverted, // fewer MPEG files in the project folder than movies in the tree
        NoMovies, // the tree holds no movie
    };

    ImageJob(MediaTree &tree, SettingsModel &settings, const DiscMenus *menus = nullptr, QObject *parent = nullptr);
    ~ImageJob() override;

    // The movies of the whole tree in tree order, each as often as it is
    // listed.
    static QStringList mediaList(const MediaTree &tree);
    static Readiness readiness(const QString &projectFolder, const QStringList &mediaList);
    // Files named *.mpg (lower case) in the folder and below.
    static int countMPEGFiles(const QString &folder);

    // Main thread. Gives an empty author and title their defaults, marks the
    // images out of date and starts the worker; finished() follows.
    void start(const QStringList &mediaList);
    // start(), then runs this thread's events until finished().
    ImageReport run(const QStringList &mediaList);
    // Ends the vcdxbuild this job started; the images stay out of date.
    void stop();

    bool isRunning() const { return mRunning.load(); }
    const ImageReport &report() const { return mReport; }

    // What the window shows as the image's name: project/Kestrin_xx.img.
    static QString imagePathname(const QString &projectFolder);
    static QStringList vcdxbuildArguments(const QString &projectFolder);

signals:
    // The step it is on, in words: the description, the scan, the writing.
    void stepChanged(const QString &step);
    void scanProgressChanged(int percent);
    void writeProgressChanged(int percent);
    void finished(const ImageReport &report);

private:
    void fillDefaults();
    void HandleImageThread(const QStringList &mediaList);
    ImageReport buildImage(const QStringList &mediaList);
    ImageReport runVcdxbuild(qint64 totalBytes);
    ImageReport judge(const ImageReport &ran) const;
    void nameFilesInsteadOfLinks(ImageReport &report, const QStringList &mediaList) const;
    void imagePanelDone();
    void removeFailedImage();
    qint64 totalMPEGBytes(const QStringList &mediaList) const;
    QString projectFile(const char *name) const;

    MediaTree &mTree;
    SettingsModel &mSettings;
    const DiscMenus *mMenus;
    QString mProjectFolder;
    ImageReport mReport;
    std::atomic_bool mRunning = false;
    std::atomic_bool mUserDidCancelImaging = false;
    std::thread mImageThread;
};
