#include "platform/Libburn.h"

#include <libburn/libburn.h>

using namespace burn;

#include <QCoreApplication>
#include <QThread>

namespace {
constexpr int kScanPollMilliseconds = 10;

QString trimmedField(const char* field, int size)
{
    return QString::fromLatin1(field, int(qstrnlen(field, size))).trimmed();
}
}

bool Libburn::initialize()
{
    static const bool started = [] {
        if (!burn_initialize())
            return false;
        // Nothing on stderr; failures are fetched for the user's message.
        burn_msgs_set_severities(
            const_cast<char*>("SORRY"), const_cast<char*>("NEVER"), const_cast<char*>("libburn: "));
        return true;
    }();
    return started;
}

std::mutex& Libburn::lock()
{
    static std::mutex mutex;
    return mutex;
}

QList<Libburn::DriveEntry> Libburn::scan(bool* ok)
{
    *ok = false;
    QList<DriveEntry> entries;
    if (!initialize())
        return entries;
    // A burn holds the lock for its whole length; the caller keeps its last
    // list meanwhile instead of waiting.
    std::unique_lock<std::mutex> guard(lock(), std::try_to_lock);
    if (!guard.owns_lock())
        return entries;

    burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    int state;
    while ((state = burn_drive_scan(&infos, &count)) == 0)
        QThread::msleep(kScanPollMilliseconds);
    if (state < 0)
        return entries;

    for (unsigned int i = 0; i < count; ++i) {
        char address[BURN_DRIVE_ADR_LEN] = {};
        if (burn_drive_get_adr(&infos[i], address) > 0) {
            entries.append({ QString::fromLocal8Bit(address), trimmedField(infos[i].vendor, sizeof infos[i].vendor),
                trimmedField(infos[i].product, sizeof infos[i].product) });
        }
        // Scanning may lock the drive exclusively: let it go at once.
        burn_drive_info_forget(&infos[i], 0);
    }
    if (infos)
        burn_drive_info_free(infos);
    *ok = true;
    return entries;
}

QString Libburn::takeErrorMessage()
{
    if (!initialize())
        return QCoreApplication::translate("Libburn", "The CD recording library libburn could not be started.");
    QString message;
    int code = 0;
    int osErrno = 0;
    char text[BURN_MSGS_MESSAGE_LEN] = {};
    char severity[80] = {};
    while (burn_msgs_obtain(const_cast<char*>("SORRY"), &code, text, &osErrno, severity) > 0)
        message = QString::fromLocal8Bit(text).trimmed();
    return message;
}
