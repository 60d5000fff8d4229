#include "platform/LibburnDrive.h"

#include "platform/Libburn.h"

#include <libburn/libburn.h>

using namespace burn;

#include <QCoreApplication>

LibburnDrive::LibburnDrive(const QString& address)
{
    if (!Libburn::initialize()) {
        mError = Libburn::takeErrorMessage();
        return;
    }
    mLock = std::unique_lock<std::mutex>(Libburn::lock());
    QByteArray nativeAddress = address.toLocal8Bit();
    if (burn_drive_scan_and_grab(&mInfos, nativeAddress.data(), 1) == 1 && mInfos) {
        mDrive = mInfos[0].drive;
        return;
    }
    const QString reason = Libburn::takeErrorMessage();
    mError = QCoreApplication::translate("LibburnDrive", "The recorder %1 cannot be opened.").arg(address);
    if (!reason.isEmpty())
        mError += QLatin1Char(' ') + reason;
}

LibburnDrive::~LibburnDrive()
{
    if (mDrive)
        burn_drive_release(mDrive, mEject ? 1 : 0);
    if (mInfos)
        burn_drive_info_free(mInfos);
}
