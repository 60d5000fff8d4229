#pragma once

#include <QString>

// A project file that Kestrin could not read whole. It is kept aside (see
// TreeFile::keepAside) before the first write replaces it, so that what
// Kestrin did not understand is not lost.
class UnreadFile {
public:
    // `path` was not read whole; nothing else is remembered.
    void remember(const QString& path);
    void forget() { mPath.clear(); }

    // Call before writing `path`: when it is the unread file, copies it
    // aside first. False (and a log line naming `operation`) when the copy
    // could not be made: the file must then be left as it is.
    bool keepAsideBefore(const QString& path, const char* operation);

private:
    QString mPath; // absolute; empty when every file was read whole
};
