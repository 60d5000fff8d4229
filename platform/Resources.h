#pragma once

#include <QString>
#include <QStringList>

// Finds Kestrin's helper programs and data by name: programs in Kestrin's own
// folder first (where bbdmux is installed), then on PATH; data in the
// installed data folder, then in the resources compiled into Kestrin.
class Resources
{
public:
    // Absolute path of the program, or empty when it is nowhere to be found.
    static QString findProgram(const QString &name);

    // Debian package that provides one of the external programs Kestrin runs,
    // for telling the user what to install.
    static QString packageForProgram(const QString &name);

    // "mpeg2enc is not installed. Install the Debian package mjpegtools." or
    // empty when the program was found.
    static QString missingProgramMessage(const QString &name);

    // Path of a data resource (the default tree "InitInfo.plist", the
    // resource movie "VideoFile.mov", row icons "Image1.png"...); a file path
    // or a ":/kestrin/..." resource path; empty when there is none.
    static QString dataFile(const QString &name);

    // Extra folders searched first for programs; tests and the batch command
    // point this at the build's program folder.
    static void setProgramFolders(const QStringList &folders);
};
