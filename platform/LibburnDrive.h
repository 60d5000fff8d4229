#pragma once

#include <QString>

#include <mutex>

namespace burn {
struct burn_drive;
struct burn_drive_info;
}

// One physical recorder grabbed through libburn for the length of one
// operation, and released (optionally ejecting its disc) when this object
// goes. Holds Libburn::lock() while it exists.
class LibburnDrive {
public:
    explicit LibburnDrive(const QString& address);
    ~LibburnDrive();

    LibburnDrive(const LibburnDrive&) = delete;
    LibburnDrive& operator=(const LibburnDrive&) = delete;

    // Null when the drive could not be grabbed; error() says why.
    burn::burn_drive* drive() const { return mDrive; }
    QString error() const { return mError; }

    void setEjectOnRelease(bool eject) { mEject = eject; }

private:
    std::unique_lock<std::mutex> mLock;
    burn::burn_drive_info* mInfos = nullptr;
    burn::burn_drive* mDrive = nullptr;
    bool mEject = false;
    QString mError;
};
