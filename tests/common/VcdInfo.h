#pragma once

#include <QString>
#include <QStringList>

// What `vcd-info -p -I` reads from a built disc image (a cdrdao TOC and its
// files) or a burned one (a CUE sheet and its BIN file): the independent
// check that an image is a disc a player understands.
struct VcdInfo
{
    bool read = false; // vcd-info ran, ended well and found the disc's INFO section
    QString id; // "VIDEO_CD" or "SUPERVCD"
    QString albumId;
    int playLists = 0; // play list descriptors of the playback control
    int chainStarts = 0; // of those, the ones without a previous link: one per group
    int endLists = 0;
    int selectionLists = 0; // selection list descriptors: one per menu
    // The trimmed lines of the playback-control descriptors, from the first
    // "PSD[00] (LID[1] ...): ..." on.
    QStringList descriptors;
    QString output;

    static VcdInfo readImage(const QString &tocPath);
    static VcdInfo readCueImage(const QString &cuePath);

private:
    static VcdInfo readFrom(const QString &sourceOption);
};
