#pragma once

#include <QString>

#include <memory>

class DRBurn;

// The burn that a command line names instead of the burn setup sheet:
// "image:FILE" for the "Disc Image File" recorder writing FILE (a BIN file
// and its CUE sheet), or a recorder's device node such as /dev/sr0.
class BurnTarget
{
public:
    static constexpr const char *kImagePrefix = "image:";

    // The burn, or nothing with the reason in `error`. A device node that
    // the recorder scan did not find is still tried: cdrdao will say what
    // is wrong with it.
    static std::shared_ptr<DRBurn> burnFor(const QString &recorder, QString *error);
};
