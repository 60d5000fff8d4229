#pragma once

#include <QString>

// Kestrin's own temporary folder (mode 0700, made with a random name), where
// the fixed link names the encoders and vcdxbuild see are made. It is made on
// first use and removed with everything in it when Kestrin exits.
class PrivateTempDir
{
public:
    // Absolute path of the folder; empty when it could not be made.
    static QString path();

    // path() + "/" + name.
    static QString filePath(const QString &name);

    // Replaces whatever is at path()/linkName with a symbolic link to target.
    // Returns the link's path, or empty on failure.
    static QString makeLink(const QString &linkName, const QString &target);
};
