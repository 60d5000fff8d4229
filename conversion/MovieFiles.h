#pragma once

#include <QString>

// The files one movie's conversion makes in the project folder, all named by
// the movie's base (its file name without the last extension): base.wav and
// base.mp2 (audio), base.m1v or base.m2v (video), base.mpg (the result).
// Two movies with the same base share these names.
struct MovieFiles
{
    QString wav;
    QString mp2;
    QString video;
    QString mpg;

    static MovieFiles forMovie(const QString &moviePath, const QString &projectFolder, bool formatVCD);

    static QString baseName(const QString &moviePath);
    // The converted program stream of a movie: projectFolder/base.mpg.
    static QString mpgPath(const QString &moviePath, const QString &projectFolder);

    // Whether the movie already is an MPEG program stream whose audio can be
    // copied out as it is: its name ends in .mpg or .mpeg, in any case.
    static bool isMPEGFile(const QString &moviePath);
};
