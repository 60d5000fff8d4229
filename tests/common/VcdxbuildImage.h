#pragma once

#include <QString>
#include <QStringList>

// A real Video CD image in cdrdao form (BASE.toc, BASE_01.img, and for every
// later track BASE_NN_pregap.img and BASE_NN.img), made by vcdxbuild from the
// fixture movie. For tests of everything that reads a built image.
class VcdxbuildImage
{
public:
    // Builds `folder`/Kestrin.toc with one track of the disc's own data and
    // one track per sequence. Answers the TOC's path, or empty (with a test
    // warning) when vcdxbuild fails.
    static QString build(const QString &folder, int sequences = 2);

    // The image files that the TOC names, in its order.
    static QStringList imageFiles(const QString &tocPath);

    // A minimal VCDImager disc description playing each MPEG file in turn.
    static QByteArray description(const QStringList &mpegFiles);
};
