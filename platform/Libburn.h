#pragma once

#include <QList>
#include <QString>

#include <mutex>

// libburn, set up once for the whole process. libburn keeps global drive
// state, so every call that scans or grabs drives holds lock().
class Libburn {
public:
    struct DriveEntry {
        QString address; // device node, "/dev/sr0"
        QString vendor;
        QString product;
    };

    // Starts libburn on first use, quietly (its messages are queued for
    // takeErrorMessage, never printed). False when libburn cannot start.
    static bool initialize();

    static std::mutex& lock();

    // The physical recorders, by device node. Each is let go again at once
    // (no drive stays locked between calls). An empty list when there are
    // none; `ok` false when the scan itself failed (drives are busy).
    static QList<DriveEntry> scan(bool* ok);

    // The most severe message libburn queued since the last call, or empty.
    static QString takeErrorMessage();
};
